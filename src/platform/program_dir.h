#pragma once
// The program directory: the folder that holds the executable and the event's files.
#include <QString>
#include <filesystem>

namespace platform {

QString programDir();
std::filesystem::path programDirPath();

// QString <-> GBK bytes of the engine, and a path in the file system.
std::string toGbk(const QString& text);
QString fromGbk(const std::string& bytes);
// True when GBK can spell every character of the text, so that it survives the
// files and the password store unchanged.
bool spellableInGbk(const QString& text);
QString toQString(const std::filesystem::path& path);

}  // namespace platform
