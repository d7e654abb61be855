// The programme and judges setup dialog through its widgets: growing and
// shrinking tables, dragging and deleting rows, the judge photo, the refused
// values, storing, and the blank scoring file.
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "base/text_file.h"
#include "scoring/TComProSys.h"
#include "scoring/core/scoring_file.h"
#include "scoring/core/scoring_fixture.h"
#include "scoring/scoring_grid.h"
#include "window_test_setup.h"

using scoring::ScoringGrid;
using scoring_testing::gbk;
using scoring_testing::ScoringEvent;

// Receives what the dialog hands to the desktop ("打开", the generated file).
class OpenedUrls : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls << url; }
};

class SetupDialogTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;
  OpenedUrls opened_;

  static QString child(scoring::TComProSys& dialog, const char* name) {
    if (auto* label = dialog.findChild<QLabel*>(name)) return label->text();
    return dialog.findChild<QLineEdit*>(name)->text();
  }
  static void click(scoring::TComProSys& dialog, const char* name) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(name), Qt::LeftButton);
  }
  static QStringList column(ScoringGrid* grid, int c) {
    QStringList cells;
    for (int row = 0; row < grid->rowCount(); ++row) cells << grid->cellText(row, c);
    return cells;
  }

 private slots:
  void initTestCase() { QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened_, "open"); }
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

  void freshSetupShowsOneEmptyRowEach() {
    ScoringEvent event;
    screen::DialogService dialogs;
    scoring::TComProSys dialog(event.dir(), dialogs);
    QCOMPARE(dialog.programmeGrid()->rowCount(), 1);
    QCOMPARE(dialog.judgeGrid()->rowCount(), 1);
    QCOMPARE(child(dialog, "programmeCount"), QStringLiteral("(共1个)"));
    QCOMPARE(child(dialog, "judgeCount"), QStringLiteral("(共1位)"));
    QCOMPARE(child(dialog, "Edit2"), QStringLiteral("10"));
    QCOMPARE(child(dialog, "Edit1"), QString::fromStdString((event.dir() / "data" / "评分文件.txt").string()));
  }

  void tablesGrowWhileTypingUpToTheirLimits() {
    ScoringEvent event;
    screen::DialogService dialogs;
    scoring::TComProSys dialog(event.dir(), dialogs);
    ScoringGrid* programmes = dialog.programmeGrid();
    for (int row = 0; row < 35 && row < programmes->rowCount(); ++row) {
      programmes->setCurrentCell(row, 1);
      programmes->edit(programmes->model()->index(row, 1));
      programmes->setCellText(row, 1, QStringLiteral("节目%1").arg(row + 1));
    }
    QCOMPARE(programmes->rowCount(), 30);
    QCOMPARE(programmes->cellText(29, 0), QStringLiteral("30"));
    ScoringGrid* judges = dialog.judgeGrid();
    for (int row = 0; row < 25 && row < judges->rowCount(); ++row) {
      judges->setCurrentCell(row, 0);
      judges->edit(judges->model()->index(row, 0));
      judges->setCellText(row, 0, QStringLiteral("评委%1").arg(row + 1));
    }
    QCOMPARE(judges->rowCount(), 20);
    QCOMPARE(child(dialog, "judgeCount"), QStringLiteral("(共20位)"));

    // An empty last row goes when another row is selected.
    ScoringEvent small;
    scoring::TComProSys fresh(small.dir(), dialogs);
    ScoringGrid* grid = fresh.programmeGrid();
    grid->setCurrentCell(0, 1);
    grid->edit(grid->model()->index(0, 1));
    QCOMPARE(grid->rowCount(), 2);
    grid->setCellText(0, 1, QStringLiteral("舞蹈"));
    grid->setCurrentCell(1, 1);
    QCOMPARE(grid->rowCount(), 2);
    grid->setCurrentCell(0, 2);
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(child(fresh, "programmeCount"), QStringLiteral("(共1个)"));
  }

  void draggingRenumbersAndStoresTheNewOrder() {
    ScoringEvent event;
    event.lists({{"舞蹈", "甲组"}, {"合唱", ""}, {"相声", "乙组"}}, {"张"});
    screen::DialogService dialogs;
    scoring::TComProSys dialog(event.dir(), dialogs);
    dialog.show();
    ScoringGrid* grid = dialog.programmeGrid();
    const QPoint from = grid->visualItemRect(grid->item(2, 0)).center();
    const QPoint to = grid->visualItemRect(grid->item(0, 0)).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, to);
    QCOMPARE(column(grid, 0), QStringList({"1", "2", "3"}));
    QCOMPARE(column(grid, 1), QStringList({"相声", "舞蹈", "合唱"}));
    click(dialog, "Button1");
    QCOMPARE(event.config().readString(gbk("节目设置"), "1", ""), gbk("1|相声|乙组"));
    QCOMPARE(event.config().readString(gbk("节目设置"), "3", ""), gbk("3|合唱|"));
  }

  void deletingAsksFirstAndKeepsOneRow() {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}, {"合唱", ""}}, {"张"});
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    scoring::TComProSys dialog(event.dir(), dialogs);
    ScoringGrid* grid = dialog.programmeGrid();
    grid->setCurrentCell(0, 1);
    dialogs.setNextAnswer(false);
    dialog.deleteProgramme();
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(dialogs.log().last(), QStringLiteral("question: 确定要删除舞蹈吗?"));
    dialogs.setNextAnswer(true);
    dialog.deleteProgramme();
    QCOMPARE(column(grid, 0), QStringList({"1"}));
    QCOMPARE(column(grid, 1), QStringList({"合唱"}));
    QCOMPARE(grid->currentRow(), 0);
    dialogs.setNextAnswer(true);
    dialog.deleteProgramme();
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->cellText(0, 1), QString());

    dialog.judgeGrid()->setCurrentCell(0, 0);
    dialogs.setNextAnswer(true);
    dialog.deleteJudge();
    QCOMPARE(dialog.judgeGrid()->rowCount(), 1);
    QCOMPARE(child(dialog, "judgeCount"), QStringLiteral("(共1位)"));
  }

  void judgePhotoIsChosenClearedAndFallsBackToTheSample() {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}}, {"张三", "李四"});
    std::filesystem::create_directories(event.dir() / "image");
    QImage sample(40, 50, QImage::Format_RGB32);
    sample.fill(Qt::green);
    QVERIFY(sample.save(QString::fromStdString((event.dir() / "image" / "sample.jpg").string())));
    QImage chosen(60, 60, QImage::Format_RGB32);
    chosen.fill(Qt::red);
    const QString chosenFile = QString::fromStdString((event.dir() / "red.png").string());
    QVERIFY(chosen.save(chosenFile));

    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    scoring::TComProSys dialog(event.dir(), dialogs);
    QCOMPARE(dialog.shownPhoto(), event.dir() / "image" / "sample.jpg");
    dialogs.setNextFileName(chosenFile);
    dialog.choosePhoto();
    const auto photo = event.dir() / "manager" / "张三.jpg";
    QVERIFY(std::filesystem::exists(photo));
    QCOMPARE(dialog.shownPhoto(), photo);
    QCOMPARE(QImage(QString::fromStdString(photo.string())).pixelColor(30, 30).red() > 200, true);
    dialog.judgeGrid()->setCurrentCell(1, 0);
    QCOMPARE(dialog.shownPhoto(), event.dir() / "image" / "sample.jpg");
    dialog.judgeGrid()->setCurrentCell(0, 0);
    dialog.clearPhoto();
    QVERIFY(!std::filesystem::exists(photo));
    QCOMPARE(dialog.shownPhoto(), event.dir() / "image" / "sample.jpg");
  }

  void refusedValuesStoreNothing() {
    ScoringEvent event;
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    scoring::TComProSys dialog(event.dir(), dialogs);
    auto* fullScore = dialog.findChild<QLineEdit*>("Edit2");
    QTest::keyClick(fullScore, Qt::Key_A);
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 必须输入数字"));
    QCOMPARE(fullScore->text(), QStringLiteral("10"));

    struct Case {
      QString fullScore;
      QString judge;
      QString message;
    } cases[] = {
        {"0", "张三", "message: 满分必须大于0"},
        {"", "张三", "message: 满分必须大于0"},
        {"10", "../张三", "message: 评委姓名\"../张三\"不能用作照片文件名,请修改"},
        {"10", "a\\b", "message: 评委姓名\"a\\b\"不能用作照片文件名,请修改"},
        // Names the scoring file cannot hold: they would lose scores or move them.
        {"10", "张=三", "message: 评委姓名\"张=三\"不能含有\"=\",否则评分文件会读错,请修改"},
        {"10", ";王", "message: 评委姓名\";王\"不能以\";\"开头,否则评分文件会读错,请修改"},
        {"10", "王]五", "message: 评委姓名\"王]五\"不能含有\"]\",否则评分文件会读错,请修改"},
        {"10", QStringLiteral("王") + QChar(0xD800),
         QStringLiteral("message: 评委姓名\"王") + QChar(0xD800) +
             QStringLiteral("\"含有无法保存的字符(不完整的文字),否则评分文件会读错,请修改")},
    };
    for (const Case& c : cases) {
      fullScore->setText(c.fullScore);
      dialog.judgeGrid()->setCellText(0, 0, c.judge);
      click(dialog, "Button1");
      QCOMPARE(dialogs.log().last(), c.message);
      QVERIFY(dialog.isVisible() || dialog.result() != QDialog::Accepted);
      QVERIFY(!std::filesystem::exists(event.dir() / "Config.ini"));
    }
    // A programme name is checked the same way, and a judge with a four-byte
    // character is a name like any other.
    dialog.judgeGrid()->setCellText(0, 0, QStringLiteral("陈𠀀"));
    dialog.programmeGrid()->setCellText(0, 1, QStringLiteral("小品[新]"));
    click(dialog, "Button1");
    QCOMPARE(dialogs.log().last(),
             QStringLiteral("message: 节目名称\"小品[新]\"不能含有\"[\",否则评分文件会读错,请修改"));
    QVERIFY(!std::filesystem::exists(event.dir() / "Config.ini"));
  }

  void generatingWritesTheFileOpensItAndStoresTheSettings() {
    ScoringEvent event;
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    scoring::TComProSys dialog(event.dir(), dialogs);
    // A cleared middle row: the file's sections must match the renumbered stored list.
    ScoringGrid* programmes = dialog.programmeGrid();
    programmes->setRowCount(3);
    const char* names[] = {"舞蹈", "", "合唱"};
    for (int row = 0; row < 3; ++row) {
      programmes->setCellText(row, 0, QString::number(row + 1));
      programmes->setCellText(row, 1, QString::fromUtf8(names[row]));
    }
    dialog.judgeGrid()->setCellText(0, 0, QStringLiteral("张三"));
    dialog.findChild<QRadioButton*>("byJudge")->setChecked(true);
    const QString typed = QString::fromStdString((event.dir() / "结果.TXT").string());
    dialogs.setNextFileName(typed);
    opened_.urls.clear();
    click(dialog, "generateFile");

    const std::filesystem::path written = (event.dir() / "结果.TXT.txt");
    QCOMPARE(base::readFile(written), scoring::blankScoringFile({{"1", gbk("舞蹈"), ""}, {"2", gbk("合唱"), ""}},
                                                                {gbk("张三")}, scoring::FileLayout::ByJudge));
    QCOMPARE(child(dialog, "Edit1"), typed + ".txt");
    QCOMPARE(opened_.urls, QList<QUrl>{QUrl::fromLocalFile(typed + ".txt")});
    base::IniFile config = event.config();
    QCOMPARE(config.readString(gbk("节目设置"), gbk("文件地址"), ""), gbk(written.string()));
    QCOMPARE(config.readString(gbk("节目设置"), "1", ""), gbk("1|舞蹈|"));
    QCOMPARE(config.readString(gbk("节目设置"), "2", ""), gbk("2|合唱|"));
    QCOMPARE(config.readString(gbk("节目设置"), gbk("导出方式"), ""), std::string("1"));

    // A cancelled save dialog writes no file but stores the settings all the same.
    dialog.findChild<QLineEdit*>("Edit2")->setText("8");
    dialogs.setNextFileName(QString());
    dialog.generateBlankFile();
    QCOMPARE(event.config().readString(gbk("节目设置"), gbk("满分"), ""), std::string("8"));
  }

  void storingIntoAFreshEventKeepsTheTemplate() {
    ScoringEvent event;
    base::writeFileAtomically(event.dir() / "SysConfig.ini",
                              scoring_testing::gbkLines({"[奖项设置]", "1=一等奖|1", "[节目设置]", "1=1|模板节目|"}));
    screen::DialogService dialogs;
    scoring::TComProSys dialog(event.dir(), dialogs);
    QCOMPARE(dialog.programmeGrid()->cellText(0, 1), QStringLiteral("模板节目"));
    click(dialog, "Button1");
    QCOMPARE(event.config().readString(gbk("奖项设置"), "1", ""), gbk("一等奖|1"));
  }

  void openingShowsTheStoredSettings() {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}}, {"张三"});
    base::IniFile config = event.config();
    config.writeString(gbk("节目设置"), gbk("文件地址"), gbk("/gone/评分.txt"));
    config.writeString(gbk("节目设置"), gbk("满分"), "100");
    screen::DialogService dialogs;
    scoring::TComProSys dialog(event.dir(), dialogs);
    QCOMPARE(child(dialog, "Edit1"), QString::fromStdString((event.dir() / "data" / "评分文件.txt").string()));
    QCOMPARE(child(dialog, "Edit2"), QStringLiteral("100"));
    QCOMPARE(dialog.setup().dropHighest, true);
  }
};

QTEST_MAIN(SetupDialogTest)
#include "setup_dialog_test.moc"
