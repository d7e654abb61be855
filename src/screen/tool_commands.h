#pragma once
// The commands of the main popup menu that reach outside the screen: the restart
// question, the export of the winners, the draw log, the help file and the shortcut
// help window and the web pages. What the draw engine does for
// them (the restart itself, the export text) comes in through the calls' arguments
// and the window's connections, so these run without the engine in tests.
#include <QObject>
#include <QUrl>
#include <filesystem>
#include <functional>

#include "screen/dialog_service.h"

class QWidget;

namespace screen {

inline const QString kRestartQuestion =
    QStringLiteral("抽奖正在进行中,重新抽奖将会清空前面全部已中奖者，是否确定重新开始?");
// The save dialog filter of the winners export, in Qt's form.
// The text export stays the first choice; the spreadsheet formats follow it.
inline const QString kExportFilter = QStringLiteral("txt file(*.txt);;Excel 工作簿(*.xlsx);;CSV 表格,UTF-8(*.csv)");

enum class WebPage { Home, VideoGuide, CommonQuestions };

class ToolCommands : public QObject {
  Q_OBJECT

 public:
  ToolCommands(std::filesystem::path programDir, DialogService& dialogs, QWidget* window);

  // Opens a file or page with the desktop's handler; true when it was handed over.
  // Tests replace it so that nothing is launched.
  std::function<bool(const QUrl&)> openUrl;
  // Says something to the operator without waiting for an answer (a StatusNote
  // on the window). Tests replace it.
  std::function<void(const QString&)> showStatus;

  // N17: true when the restart may go ahead (asks only when winners exist).
  bool confirmRestart(bool winnersExist);

  // Writes the winners to `chosen` and returns the file it wrote (the draw
  // engine's export, which appends ".txt" when missing). Raises base::FileError.
  using WinnersExporter = std::function<std::filesystem::path(const std::filesystem::path& chosen)>;
  // N20: the save dialog, the export, then the file opened with the desktop's
  // application for its type. Where the file was written is said once in the
  // status, without a box, whether or not an application opened it, so the next
  // command is not held up. Returns the written file; empty when cancelled or
  // failed (the operator is told).
  std::filesystem::path exportWinners(const WinnersExporter& exporter);

  // N21: log.txt in the text editor (created empty when the draw has logged nothing yet).
  void viewLog();
  // F1: help.html with the desktop's handler, or the message that it is damaged.
  void openHelp();
  // N22: the shortcut help window, modal.
  void showShortcutHelp();
  // N76, N53, N77: our pages shipped in the folder "web"; the result is not examined.
  void openWebPage(WebPage page);
  std::filesystem::path webPageFile(WebPage page) const;

 private:
  bool openInEditor(const std::filesystem::path& file);

  std::filesystem::path programDir_;
  DialogService& dialogs_;
  QWidget* window_;
};

}  // namespace screen
