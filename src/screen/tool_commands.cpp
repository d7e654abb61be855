#include "screen/tool_commands.h"

#include <QWidget>

#include "base/file_error.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "platform/desktop_open.h"
#include "platform/qt_gbk.h"
#include "screen/THelpForm.h"
#include "screen/status_note.h"

namespace screen {

namespace fs = std::filesystem;

using platform::fileUrl;

ToolCommands::ToolCommands(fs::path programDir, DialogService& dialogs, QWidget* window)
    : QObject(window),
      openUrl(platform::openWithDesktop),
      programDir_(std::move(programDir)),
      dialogs_(dialogs),
      window_(window) {
  if (window_ != nullptr) {
    auto* note = new StatusNote(window_);
    showStatus = [note](const QString& text) { note->showNote(text); };
  }
}

bool ToolCommands::confirmRestart(bool winnersExist) {
  return !winnersExist || dialogs_.question(kRestartQuestion, true);
}

bool ToolCommands::openInEditor(const fs::path& file) {
  if (openUrl(fileUrl(file))) return true;
  dialogs_.message(QStringLiteral("无法用文本编辑器打开文件 ") + platform::toQString(file));
  return false;
}

fs::path ToolCommands::exportWinners(const WinnersExporter& exporter) {
  const QString chosen =
      dialogs_.saveFileName(QString(), platform::toQString(programDir_), kExportFilter, QStringLiteral("txt"));
  if (chosen.isEmpty()) return {};
  fs::path written;
  try {
    written = exporter(fs::path(chosen.toStdString()));
  } catch (const base::FileError& error) {
    dialogs_.message(QString::fromStdString(error.what()));
    return {};
  }
  const QString where = platform::toQString(written);
  const QString status = openUrl(fileUrl(written))
                             ? QStringLiteral("中奖名单已导出到 %1").arg(where)
                             : QStringLiteral("中奖名单已导出到 %1 (本机没有可打开此类文件的程序)").arg(where);
  if (showStatus) showStatus(status);
  return written;
}

void ToolCommands::viewLog() {
  // The file the draw appends to, found as the draw finds it, so a log named in
  // other letter case is opened rather than a second, empty one made beside it.
  const fs::path log = base::findIgnoringCase(programDir_, "log.txt");
  std::error_code ec;
  if (!fs::exists(log, ec)) {
    try {
      base::truncateFile(log);
    } catch (const base::FileError&) {
      // The editor is asked anyway and reports the missing file itself.
    }
  }
  openInEditor(log);
}

void ToolCommands::openHelp() {
  const fs::path help = programDir_ / "help.html";
  std::error_code ec;
  if (!fs::is_regular_file(help, ec) || !openUrl(fileUrl(help))) {
    dialogs_.message(QStringLiteral(" help.html 帮助文件损坏！"));
  }
}

void ToolCommands::showShortcutHelp() {
  THelpForm help(dialogs_.parentWindow());
  help.exec();
}

fs::path ToolCommands::webPageFile(WebPage page) const {
  switch (page) {
    case WebPage::VideoGuide:
      return programDir_ / "web" / "explain.html";
    case WebPage::CommonQuestions:
      return programDir_ / "web" / "question.html";
    case WebPage::Home:
      break;
  }
  return programDir_ / "web" / "index.html";
}

void ToolCommands::openWebPage(WebPage page) { openUrl(fileUrl(webPageFile(page))); }

}  // namespace screen
