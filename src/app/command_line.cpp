#include "app/command_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

#include "platform/program_dir.h"
#include "platform/qt_gbk.h"

namespace app {

namespace {

// Every key the draw screen and the displays react to; the handlers are the
// draw screen's command table (TForm1_commands.cpp) and the displays'
// keyPressEvent.
constexpr const char* kStageKeys[][2] = {
    {"空格", "开始抽奖;再按一次停止,显示本次中奖者"},
    {"回车", "开始/停止按钮显示时,同空格"},
    {"F1", "帮助页"},
    {"F2", "内定与黑名单(设了密码时先输入密码)"},
    {"F3", "奖品展示"},
    {"F4", "最小化抽奖画面(音乐停止)"},
    {"F5", "清空滚动区"},
    {"F7", "节目评分细节"},
    {"F8", "节目得分排名"},
    {"F9", "当前奖项中奖名单"},
    {"F10", "全部中奖名单"},
    {"F11", "关闭展示窗口(在中奖名单、奖品、排名和评分细节窗口上)"},
    {"右键", "菜单:名单、奖项、工具(弃奖、补奖、导出中奖名单)、音效、画面、节目评分、帮助、退出"},
};

// A key's name padded to `columns` terminal columns; a Chinese character takes two.
QString padded(const QString& key, int columns) {
  int used = 0;
  for (const QChar ch : key) used += ch.unicode() >= 0x2E80 ? 2 : 1;
  return key + QString(std::max(1, columns - used), QLatin1Char(' '));
}

}  // namespace

QString versionText() { return QStringLiteral("Kelvara抽奖软件 %1").arg(QString::fromLatin1(KV_VERSION)); }

QString usageText(const ProgramPlaces& places) {
  QString text;
  QTextStream out(&text);
  out << versionText() << QStringLiteral(" — 年会、婚礼等现场抽奖:全屏抽奖画面投影给观众看,操作员用键盘控制。\n\n")
      << QStringLiteral("用法:\n") << QStringLiteral("  kelvara              打开抽奖画面\n")
      << QStringLiteral("  kelvara --help       显示本说明\n") << QStringLiteral("  kelvara --version    显示版本\n")
      << QStringLiteral("程序不从命令行读取任何设置,其它参数一律拒绝。\n\n")
      << QStringLiteral("活动文件夹(设置、名单、中奖记录、日志):\n  ") << places.eventFolder << "\n\n"
      << QStringLiteral("现场按键:\n");
  for (const auto& [key, action] : kStageKeys)
    out << "  " << padded(QString::fromUtf8(key), 6) << QString::fromUtf8(action) << '\n';
  out << QStringLiteral("按住不放的键只算按一次。\n\n") << QStringLiteral("说明文档:\n");
  if (places.documentFolder.isEmpty()) {
    out << QStringLiteral("  源代码中的 README.md 和 docs/guide.md(现场使用指南)\n");
  } else {
    const QDir docs(places.documentFolder);
    out << "  " << docs.filePath(QStringLiteral("guide.md")) << QStringLiteral("(现场使用指南)\n") << "  "
        << docs.filePath(QStringLiteral("README.md")) << '\n'
        << QStringLiteral("  man kelvara\n");
  }
  out << QStringLiteral("  程序内帮助(F1):") << QDir(places.programFolder).filePath(QStringLiteral("help.html"))
      << '\n';
  out.flush();
  return text;
}

int answerArguments(const QStringList& arguments, const ProgramPlaces& places, QTextStream& out, QTextStream& err) {
  if (arguments.size() == 1) {
    const QString& argument = arguments.front();
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
      out << usageText(places);
      return 0;
    }
    if (argument == QLatin1String("--version")) {
      out << versionText() << '\n';
      return 0;
    }
  }
  err << QStringLiteral("kelvara: 不接受参数 “%1”\n\n").arg(arguments.join(QLatin1Char(' '))) << usageText(places);
  return 2;
}

ProgramPlaces runningProgramPlaces() {
  ProgramPlaces places;
  places.programFolder = QCoreApplication::applicationDirPath();
  // Where the event would be, without laying anything out: the answer to --help
  // writes nothing.
  places.eventFolder = platform::toQString(platform::chooseEventFolder(platform::runningProgramLocation()).folder);
  // An installed program's documents are where the package puts them: from
  // <prefix>/lib/kelvara to <prefix>/share/doc/kelvara.
  const QString documents = QDir::cleanPath(places.programFolder + QStringLiteral("/../../share/doc/kelvara"));
  if (QFileInfo(documents + QStringLiteral("/guide.md")).isFile()) places.documentFolder = documents;
  return places;
}

}  // namespace app
