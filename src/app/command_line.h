#pragma once
// The program takes nothing from the command line for its work; asked for its
// usage or version it answers on the terminal, and any other argument is
// refused with the usage, so that a mistyped option never opens a full-screen
// window on a machine nobody is looking at. No window is made for an answer.
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace app {

// Where the user finds things, as the usage names them.
struct ProgramPlaces {
  QString eventFolder;     // the event of the user who runs the program
  QString programFolder;   // the executable's folder, with the shipped help page
  QString documentFolder;  // the installed guide and README; empty when not installed
};

// "Kelvara抽奖软件 1.0.0".
QString versionText();
// What the program is, where the event folder is, the keys on stage, and where
// the README, the guide, the manual page and the help page are.
QString usageText(const ProgramPlaces& places);

// Answers the arguments after the program's name: "--help" (or "-h") prints the
// usage and "--version" the version on `out`, returning 0; anything else, or
// more than one argument, is refused on `err` with the usage, returning 2.
// Requires a non-empty `arguments`.
int answerArguments(const QStringList& arguments, const ProgramPlaces& places, QTextStream& out, QTextStream& err);

// The places of the running program; needs a QCoreApplication, and makes
// nothing on disk (the event folder is only named).
ProgramPlaces runningProgramPlaces();

}  // namespace app
