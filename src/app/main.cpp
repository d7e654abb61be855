// The draw program: one instance, one program per event, the Windows font faces
// mapped to installed ones, and the draw screen maximised on the event.
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTextStream>
#include <QTranslator>
#include <algorithm>

#include "app/TForm1.h"
#include "app/command_line.h"
#include "app/desktop_identity.h"
#include "base/file_error.h"
#include "base/folder_access.h"
#include "platform/font_substitutions.h"
#include "platform/program_dir.h"
#include "platform/qt_gbk.h"
#include "platform/single_instance.h"
#include "platform/termination_signals.h"

int main(int argc, char* argv[]) {
  // Arguments are answered on the terminal, without a window (command_line.h).
  if (argc > 1) {
    QCoreApplication answer(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return app::answerArguments(QCoreApplication::arguments().mid(1), app::runningProgramPlaces(), out, err);
  }
  // The toolkit's own options are not the user's to give; "-name" sets the
  // WM_CLASS instance name that the menu entry matches (desktop_identity.h).
  char nameOption[] = "-name";
  char desktopName[sizeof app::kDesktopName];
  std::copy(std::begin(app::kDesktopName), std::end(app::kDesktopName), desktopName);
  char* qtArgv[] = {argv[0], nameOption, desktopName, nullptr};
  int qtArgc = 3;
  QApplication app(qtArgc, qtArgv);
  app::setDesktopIdentity();
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

  const platform::EventFolderChoice* event = nullptr;
  try {
    event = &platform::eventFolder();
  } catch (const base::FileError& error) {
    QMessageBox::warning(nullptr, title, QString::fromStdString(error.what()));
    return 1;
  }
  // The instance lock above is per user and runtime folder; this one is the
  // event's own, so that one event is drawn by one program however each was
  // started. A folder where not even the lock file can be made cannot be written
  // at all: start-up says so and nothing is drawn there. A lock file that cannot
  // be opened in a folder that can be written is told here: the event would go
  // unguarded.
  base::FolderLock eventLock(event->folder);
  base::EventLock eventLockState = base::EventLock::Held;
  try {
    eventLockState = base::lockEventFolder(eventLock);
  } catch (const base::FileError& error) {
    QMessageBox::warning(
        nullptr, title,
        QString::fromStdString(error.what()) +
            QStringLiteral("\n这是活动文件夹 %1 的锁文件,打不开它就无法确认没有另一个抽奖程序在用这个活动,"
                           "所以程序不能继续。请在没有抽奖程序运行时删除这个文件,"
                           "或让当前用户可以读取它,再启动程序。")
                .arg(platform::toQString(event->folder)));
    return 1;
  }
  if (eventLockState == base::EventLock::HeldByAnother) {
    QMessageBox::information(
        nullptr, platform::secondInstanceCaption(),
        platform::secondInstanceMessage() +
            QStringLiteral("\n活动文件夹 %1 正由另一个抽奖程序使用。").arg(platform::toQString(event->folder)));
    return 0;
  }
  if (event->otherEvent) QMessageBox::warning(nullptr, title, platform::otherEventMessage(*event));

  TForm1 window(event->folder);
  if (window.startupDeclined()) return 0;
  window.showOnStage();
  bool restart = false;
  QObject::connect(&window, &TForm1::restartRequested, &app, [&restart] {
    restart = true;
    QApplication::quit();
  });
  platform::quitOnTerminationSignals(&app, [&window] {
    window.close();
    QApplication::quit();
  });
  const int code = app.exec();
  if (restart) {
    eventLock.release();
    platform::restartProgram(instance, QCoreApplication::applicationFilePath());
  }
  return code;
}
