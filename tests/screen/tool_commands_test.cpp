// The tool commands with a fake exporter and a recording URL opener, and the
// shortcut help window's texts.
#include "screen/tool_commands.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include "base/file_error.h"
#include "screen/THelpForm.h"
#include "screen/status_note.h"
#include "test_folder.h"
#include "window_test_setup.h"

using testing_support::TestFolder;

namespace fs = std::filesystem;

namespace {

struct Tools {
  TestFolder folder;
  QWidget window;
  screen::DialogService dialogs;
  screen::ToolCommands tools{folder.path(), dialogs, &window};
  QList<QUrl> opened;
  QStringList statuses;
  bool openSucceeds = true;

  Tools() {
    dialogs.setHeadless(true);
    tools.openUrl = [this](const QUrl& url) {
      opened << url;
      return openSucceeds;
    };
    tools.showStatus = [this](const QString& text) { statuses << text; };
  }
  QUrl url(const fs::path& file) const { return QUrl::fromLocalFile(QString::fromStdString(file.string())); }
};

QStringList rows(const QGroupBox* group) {
  const auto* grid = qobject_cast<const QGridLayout*>(group->layout());
  QStringList lines;
  for (int row = 0; row < grid->rowCount(); ++row) {
    lines << qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget())->text() + "|" +
                 qobject_cast<QLabel*>(grid->itemAtPosition(row, 1)->widget())->text();
  }
  return lines;
}

}  // namespace

class ToolCommandsTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void restartAsksOnlyWhenWinnersExist() {
    Tools t;
    QVERIFY(t.tools.confirmRestart(false));
    QVERIFY(t.dialogs.log().isEmpty());
    t.dialogs.setNextAnswer(false);
    QVERIFY(!t.tools.confirmRestart(true));
    t.dialogs.setNextAnswer(true);
    QVERIFY(t.tools.confirmRestart(true));
    QCOMPARE(t.dialogs.log(), QStringList(2, "question: " + screen::kRestartQuestion));
  }

  void exportWritesThroughTheExporterAndOpensTheFile() {
    Tools t;
    std::vector<fs::path> asked;
    auto exporter = [&](const fs::path& chosen) {
      asked.push_back(chosen);
      fs::path written = chosen;
      written += ".txt";
      t.folder.write(written.filename().string(), "winners");
      return written;
    };
    t.dialogs.setNextFileName(QString::fromStdString((t.folder / "名单").string()));
    QCOMPARE(t.tools.exportWinners(exporter), t.folder / "名单.txt");
    QCOMPARE(asked, std::vector<fs::path>({t.folder / "名单"}));
    QCOMPARE(t.opened, QList<QUrl>({t.url(t.folder / "名单.txt")}));
    QCOMPARE(t.statuses, QStringList{"中奖名单已导出到 " + QString::fromStdString((t.folder / "名单.txt").string())});
    QVERIFY(t.dialogs.log().filter("message:").isEmpty());

    // No application for the type (a workbook on a bare machine): the status says
    // where the file is, once, and no box waits for the operator.
    t.openSucceeds = false;
    t.statuses.clear();
    t.dialogs.setNextFileName(QString::fromStdString((t.folder / "名单2").string()));
    QCOMPARE(t.tools.exportWinners(exporter), t.folder / "名单2.txt");
    QCOMPARE(t.statuses, QStringList{"中奖名单已导出到 " + QString::fromStdString((t.folder / "名单2.txt").string()) +
                                     " (本机没有可打开此类文件的程序)"});
    QVERIFY(t.dialogs.log().filter("message:").isEmpty());

    // The window's own status: a note on it, shown without a modal window.
    screen::ToolCommands plain(t.folder.path(), t.dialogs, &t.window);
    plain.openUrl = [](const QUrl&) { return false; };
    t.window.resize(900, 600);
    t.window.show();
    t.dialogs.setNextFileName(QString::fromStdString((t.folder / "名单3").string()));
    plain.exportWinners(exporter);
    const auto* note = t.window.findChildren<screen::StatusNote*>().last();
    QVERIFY(note->isVisible());
    QVERIFY(note->text().contains(QStringLiteral("名单3.txt")));
    QVERIFY(note->geometry().bottom() < t.window.height());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    t.openSucceeds = true;
    asked.clear();
    t.opened.clear();

    // Cancelled: nothing is written or opened.
    QVERIFY(t.tools.exportWinners(exporter).empty());
    QVERIFY(asked.empty());

    // A failed write is reported and nothing is opened.
    t.dialogs.setNextFileName(QString::fromStdString((t.folder / "x").string()));
    auto failing = [&](const fs::path& chosen) -> fs::path {
      throw base::FileError(base::FileError::Kind::CannotWrite, chosen);
    };
    QVERIFY(t.tools.exportWinners(failing).empty());
    QVERIFY(t.opened.isEmpty());
    QVERIFY(t.dialogs.log().last().startsWith("message: 无法写入文件"));
  }

  void helpLogAndPagesOpenOurFiles() {
    Tools t;
    t.tools.openHelp();
    QCOMPARE(t.dialogs.log(), QStringList({"message:  help.html 帮助文件损坏！"}));
    QVERIFY(t.opened.isEmpty());
    t.folder.write("help.html", "<html></html>");
    t.tools.openHelp();
    QCOMPARE(t.opened, QList<QUrl>({t.url(t.folder / "help.html")}));
    t.openSucceeds = false;
    t.tools.openHelp();
    QCOMPARE(t.dialogs.log().size(), 2);

    t.opened.clear();
    t.openSucceeds = true;
    t.tools.viewLog();
    QCOMPARE(t.opened, QList<QUrl>({t.url(t.folder / "log.txt")}));
    QVERIFY(fs::exists(t.folder / "log.txt"));
    // A log in other letter case is the one the draw appends to: it is opened, no second file is made.
    fs::rename(t.folder / "log.txt", t.folder / "LOG.TXT");
    t.opened.clear();
    t.tools.viewLog();
    QCOMPARE(t.opened, QList<QUrl>({t.url(t.folder / "LOG.TXT")}));
    QVERIFY(!fs::exists(t.folder / "log.txt"));

    // The shipped pages exist for every web entry.
    screen::ToolCommands shipped(KV_DIST_DIR, t.dialogs, &t.window);
    for (auto page : {screen::WebPage::Home, screen::WebPage::VideoGuide, screen::WebPage::CommonQuestions}) {
      QVERIFY2(fs::is_regular_file(shipped.webPageFile(page)), shipped.webPageFile(page).c_str());
    }
    QVERIFY(fs::is_regular_file(fs::path(KV_DIST_DIR) / "help.html"));
  }

  void webPagesAreOurShippedFiles() {
    Tools t;
    t.tools.openWebPage(screen::WebPage::Home);
    t.tools.openWebPage(screen::WebPage::VideoGuide);
    t.tools.openWebPage(screen::WebPage::CommonQuestions);
    QCOMPARE(t.opened, QList<QUrl>({t.url(t.folder / "web" / "index.html"), t.url(t.folder / "web" / "explain.html"),
                                    t.url(t.folder / "web" / "question.html")}));
  }

  void shortcutHelpWindowHoldsItsTexts() {
    THelpForm help;
    QCOMPARE(help.windowTitle(), QStringLiteral("快捷键"));
    QVERIFY(help.isModal());
    QCOMPARE(help.findChild<QLabel*>("Note")->text(),
             QStringLiteral("尽量使用快捷键操作，避免鼠标操作，可增强现场感。"));
    const auto groups = help.findChildren<QGroupBox*>();
    QCOMPARE(groups.size(), 3);
    QCOMPARE(groups[0]->title(), QStringLiteral("抽奖操作"));
    QCOMPARE(rows(groups[0]),
             QStringList({"【 空格】|开始/停止抽奖", "【  F3   】|奖品展示", "【  F9   】|展示当前奖项中奖名单",
                          "【 F10  】 |展示全部中奖名单", "【  F5   】 |滚动区清空"}));
    QCOMPARE(groups[1]->title(), QStringLiteral("节目评分"));
    QCOMPARE(rows(groups[1]), QStringList({"【  F7   】|展示节目评分细节", "【  F8   】|展示节目得分排名"}));
    QCOMPARE(groups[2]->title(), QStringLiteral("窗口控制"));
    QCOMPARE(rows(groups[2]), QStringList({"【  F4   】 |最小化到任务栏", "【  F11 】|关闭展示窗口"}));

    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QCOMPARE(help.minimumSize(), help.maximumSize());
    for (QLabel* label : help.findChildren<QLabel*>()) {
      QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }
  }
};

QTEST_MAIN(ToolCommandsTest)
#include "tool_commands_test.moc"
