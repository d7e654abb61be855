// The draw program: one instance, the Windows font faces mapped to installed
// ones, and the draw screen maximised on the event in the program folder.
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>

#include "app/TForm1.h"
#include "base/file_error.h"
#include "platform/font_substitutions.h"
#include "platform/program_dir.h"
#include "platform/single_instance.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString title = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  QApplication::setApplicationName(title);
  platform::installFontSubstitutions();
  // The standard dialogs and buttons (Yes/No, file dialogs) speak Chinese too.
  QTranslator qtTranslations;
  if (qtTranslations.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslations);

  platform::SingleInstanceGuard instance(title);
  if (!instance.acquire()) {
    QMessageBox::information(nullptr, platform::secondInstanceCaption(), platform::secondInstanceMessage());
    return 0;
  }

  std::filesystem::path eventFolder;
  try {
    eventFolder = platform::programDirPath();
  } catch (const base::FileError& error) {
    QMessageBox::warning(nullptr, title, QString::fromStdString(error.what()));
    return 1;
  }
  TForm1 window(eventFolder);
  // Without a window manager (a projector machine in kiosk mode) "maximised" means
  // nothing, so the window takes its screen's whole area itself.
  window.setGeometry(window.screen()->availableGeometry());
  window.showMaximized();
  bool restart = false;
  QObject::connect(&window, &TForm1::restartRequested, &app, [&restart] {
    restart = true;
    QApplication::quit();
  });
  const int code = app.exec();
  if (restart) platform::restartProgram(instance, QCoreApplication::applicationFilePath());
  return code;
}
