// The award settings dialog driven through its widgets on a small event: the
// grid's typing, Enter walk and row rules, the buttons and their saves, the
// picture, the live effects on the window and OK and Cancel.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QtTest>
#include <map>

#include "base/delimited_row.h"
#include "dialogs/TSysItem.h"
#include "draw/event_fixture.h"
#include "platform/qt_gbk.h"

using draw_testing::Award;
using draw_testing::EventFixture;
using screen::ShowTick;
using testing_support::gbk;

namespace {

// What the window would have shown: the ticks and the calls it received.
struct FakeScreen {
  std::map<ShowTick, bool> ticks;
  std::vector<int> intervals;
  int countdownHidden = 0;

  dialogs::TSysItem::ScreenLink link() {
    dialogs::TSysItem::ScreenLink l;
    l.tick = [this](ShowTick t) { return ticks.count(t) ? ticks[t] : true; };
    l.setTick = [this](ShowTick t, bool shown) { ticks[t] = shown; };
    l.rollingIntervalChanged = [this](int ms) { intervals.push_back(ms); };
    l.hideCountdown = [this] { ++countdownHidden; };
    return l;
  }
};

QString cell(QTableWidget* grid, int row, int column) {
  auto* item = grid->item(row, column);
  return item ? item->text() : QString();
}

template <typename T>
T* child(QObject& dialog, const char* name) {
  T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
  if (!widget) qFatal("no widget %s", name);
  return widget;
}

}  // namespace

class AwardSettingsTest : public QObject {
  Q_OBJECT

  EventFixture event;
  draw::DrawData data;
  screen::DialogService dialogs;
  FakeScreen fake;

  void open(const std::vector<std::string>& settings = {}) {
    auto lines = EventFixture::awardLines(
        {{"一等奖", 3, 1}, {"二等奖", 23, 5}, {"三等奖", 10, 5}, {"四等奖", 4, 1}, {"五等奖", 2, 1}});
    lines.push_back("[界面设置]");
    lines.insert(lines.end(), settings.begin(), settings.end());
    event.config(lines);
    event.roster(EventFixture::numberedNames(20));
    data = draw::DrawData();
    event.start(data);
    dialogs.clearLog();
    fake = FakeScreen();
  }
  std::unique_ptr<dialogs::TSysItem> dialog() {
    auto d = std::make_unique<dialogs::TSysItem>(data, event.folder(), dialogs, fake.link());
    d->show();
    return d;
  }
  std::vector<std::string> storedNames() {
    std::vector<std::string> names;
    base::IniFile config(event.dir() / "Config.ini");
    for (int k = 1;; ++k) {
      auto value = config.readString(gbk("奖项设置"), std::to_string(k), "");
      if (value.empty()) break;
      names.push_back(base::gbkToUtf8(base::readDelimitedRow(value, 8)[1]));
    }
    return names;
  }
  std::string stored(const char* key) {
    return base::IniFile(event.dir() / "Config.ini").readString(gbk("界面设置"), gbk(key), "(none)");
  }

 private slots:
  void initTestCase() { dialogs.setHeadless(true); }

  void opensWithTheRowsTheDefaultsAndTheMenuTicks() {
    open();
    fake.ticks[ShowTick::Logo] = false;
    auto d = dialog();
    QTableWidget* grid = d->grid();
    QCOMPARE(grid->rowCount(), 5);
    QCOMPARE(grid->columnCount(), 8);
    QVERIFY(grid->isColumnHidden(4));
    QCOMPARE(grid->horizontalHeaderItem(3)->text(), QStringLiteral("每次抽取个数"));
    QCOMPARE(cell(grid, 1, 1), QStringLiteral("二等奖"));
    QCOMPARE(child<QSlider>(*d, "TrackBar1")->value(), -5);
    QVERIFY(child<QRadioButton>(*d, "RadioButton1")->isChecked());
    QCOMPARE(child<QLineEdit>(*d, "Edit1")->text(), QStringLiteral("2"));
    QVERIFY(!child<QLineEdit>(*d, "Edit1")->isEnabled());  // privacy off by the dialog's default
    QVERIFY(!child<QCheckBox>(*d, "CheckBox14")->isChecked());
    QVERIFY(child<QCheckBox>(*d, "CheckBox3")->isChecked());
    QVERIFY(!data.state.changed);
  }

  void typingEnterWalkAndRowRules() {
    open();
    auto d = dialog();
    QTableWidget* grid = d->grid();
    grid->setCurrentCell(0, 2);
    grid->setFocus();
    QTest::keyClicks(grid, "x");
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 必须输入数字"));
    QCOMPARE(cell(grid, 0, 2), QStringLiteral("3"));
    QVERIFY(data.state.changed);

    // Places typed, Enter commits and walks to the batch size; the row is normalised.
    QTest::keyClick(grid, Qt::Key_F2);  // open the editor
    auto* editor = grid->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "7a");
    QCOMPARE(editor->text(), QStringLiteral("7"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid->currentColumn(), 3);
    QCOMPARE(cell(grid, 0, 2), QStringLiteral("7"));
    QCOMPARE(cell(grid, 0, 4), QStringLiteral("1+1+1+1+1+1+1"));
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->currentColumn(), 5);  // past the hidden plan
    grid->setCurrentCell(0, 7);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(grid->currentColumn(), 1);
    QCOMPARE(cell(grid, 1, 4), QStringLiteral("5+5+5+5+3"));
    grid->setCurrentCell(4, 7);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->currentRow(), 0);

    // The current cell is painted light blue.
    grid->setCurrentCell(2, 5);
    const QRect current = grid->visualItemRect(grid->item(2, 5));
    const QImage shot = grid->viewport()->grab().toImage();
    QCOMPARE(shot.pixelColor(current.right() - 2, current.bottom() - 2), QColor(166, 202, 240));
    QVERIFY(shot.pixelColor(grid->visualItemRect(grid->item(1, 5)).bottomRight() - QPoint(2, 2)) !=
            QColor(166, 202, 240));

    // A batch above the places: the fallback and the message.
    grid->item(3, 3)->setText(QStringLiteral("9"));
    dialogs.clearLog();
    grid->setCurrentCell(3, 1);
    QCOMPARE(cell(grid, 3, 3), QStringLiteral("1"));
    QCOMPARE(dialogs.log(), QStringList{QStringLiteral("message: 数值必须大于零,且每批人数需小于总名额.")});

    child<QPushButton>(*d, "Button4")->click();  // 默认分批
    QCOMPARE(cell(grid, 1, 3), QStringLiteral("10"));
    QCOMPARE(cell(grid, 2, 3), QStringLiteral("5"));
  }

  void addDeleteAndReorderSave() {
    open();
    auto d = dialog();
    QTableWidget* grid = d->grid();
    dialogs.setNextText(std::nullopt);
    child<QPushButton>(*d, "Button2")->click();
    QCOMPARE(grid->rowCount(), 5);

    dialogs.setNextText(QStringLiteral("特等奖"));
    child<QPushButton>(*d, "Button2")->click();
    QCOMPARE(grid->rowCount(), 6);
    QCOMPARE(cell(grid, 5, 0), QStringLiteral("6"));
    QCOMPARE(cell(grid, 5, 2), QStringLiteral("1"));
    QCOMPARE(grid->currentRow(), 5);

    // Deleting the last row: the row before it becomes current, the file follows.
    dialogs.setNextAnswer(true);
    child<QPushButton>(*d, "Button3")->click();
    QVERIFY(dialogs.log().contains(QStringLiteral("question: 确定要删除特等奖吗?")));
    QCOMPARE(grid->rowCount(), 5);
    QCOMPARE(grid->currentRow(), 4);
    QCOMPARE(storedNames().size(), 5u);

    // Dragging the serial of row 3 onto row 1.
    data.state.changed = false;
    QWidget* viewport = grid->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, grid->visualItemRect(grid->item(2, 0)).center());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 0)).center());
    QCOMPARE(cell(grid, 0, 1), QStringLiteral("三等奖"));
    QCOMPARE(cell(grid, 2, 0), QStringLiteral("3"));
    QCOMPARE(storedNames(), (std::vector<std::string>{"三等奖", "一等奖", "二等奖", "四等奖", "五等奖"}));
    QVERIFY(data.state.changed);

    // A name cleared in the middle: the rows after it close up under consecutive keys.
    grid->item(1, 1)->setText(QString());
    d->accept();
    QCOMPARE(storedNames(), (std::vector<std::string>{"三等奖", "二等奖", "四等奖", "五等奖"}));
  }

  void enterOutsideTheGridIsOkAndRowsNobodyTouchedStayAsStored() {
    // Row 6 as the supplementary places made it: 0 places of its own, 4 extra, 13 cells.
    const std::string extra = "6|" + gbk("加场奖|0|4|4|红包|||0|0|0|4|");
    const std::pair<const char*, const char*> focus[] = {{"CheckBox1", "a check box"}, {"Edit3", "a seconds field"}};
    for (const auto& [name, what] : focus) {
      open({"自动抽奖=1"});
      base::IniFile(event.dir() / "Config.ini").writeString(gbk("奖项设置"), "6", extra);
      auto d = dialog();
      QVERIFY(!data.state.changed);  // the grid taking the focus is no selection
      QWidget* field = child<QWidget>(*d, name);
      field->setFocus();
      QTest::keyClick(field, Qt::Key_Return);
      QVERIFY2(!d->isVisible(), what);
      QCOMPARE(d->result(), int(QDialog::Accepted));
      QVERIFY2(!dialogs.log().contains(QStringLiteral("text: 增加奖项")), what);
      QVERIFY2(dialogs.log().filter(QStringLiteral("message:")).isEmpty(), what);
      QCOMPARE(base::IniFile(event.dir() / "Config.ini").readString(gbk("奖项设置"), "6", ""), extra);
    }
  }

  void aValueStillInTheCellEditorIsSaved() {
    open();
    auto d = dialog();
    QTableWidget* grid = d->grid();
    grid->setCurrentCell(1, 5);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = grid->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("耳机"));
    child<QPushButton>(*d, "Button1")->click();  // 确定, the editor still open
    QVERIFY(!d->isVisible());
    const std::string row = base::IniFile(event.dir() / "Config.ini").readString(gbk("奖项设置"), "2", "");
    QCOMPARE(base::readDelimitedRow(row, 8)[5], gbk("耳机"));
  }

  void rangesCountsAndPredeterminedFollowAwardsMovedAndDeleted() {
    open();
    {
      base::IniFile config(event.dir() / "Config.ini");
      config.writeString(gbk("内定设置"), "1", gbk("1|12|范仪梅|1|一等奖"));
      config.writeString(gbk("内定设置"), "2", gbk("2|13|人13|2|二等奖"));
      config.writeString(gbk("奖项分组"), "3_B", "5");
      config.writeString(gbk("补奖"), "1", "2");
    }
    auto d = dialog();
    d->grid()->setCurrentCell(1, 1);
    dialogs.setNextAnswer(true);
    d->deleteAward();  // 二等奖; saved
    d->moveRow(0, 3);  // 一等奖 to the end; saved again from the rows as stored now
    QCOMPARE(storedNames(), (std::vector<std::string>{"三等奖", "四等奖", "五等奖", "一等奖"}));
    base::IniFile config(event.dir() / "Config.ini");
    QCOMPARE(config.readString(gbk("内定设置"), "1", ""), gbk("1|12|范仪梅|4|一等奖"));
    QCOMPARE(config.readString(gbk("内定设置"), "2", ""), gbk("2|13|人13||二等奖"));  // names a gone award
    QCOMPARE(config.readString(gbk("奖项分组"), "1_B", ""), std::string("5"));
    QCOMPARE(config.readString(gbk("奖项分组"), "3_B", ""), std::string());
    QCOMPARE(config.readString(gbk("补奖"), "4", ""), std::string("2"));
    QCOMPARE(config.readString(gbk("补奖"), "1", ""), std::string());
  }

  void deletingEveryAwardLeavesAnEmptyRowToStartAgain() {
    open();
    event.config({"[奖项设置]", "1=1|一等奖|1|1|1|||"});
    data = draw::DrawData();
    event.start(data);
    auto d = dialog();
    dialogs.setNextAnswer(true);
    d->deleteAward();
    QCOMPARE(d->grid()->rowCount(), 1);
    QCOMPARE(cell(d->grid(), 0, 0), QStringLiteral("1"));
    QVERIFY(storedNames().empty());
    dialogs.setNextText(QStringLiteral("新奖项"));
    d->addAward();
    QCOMPARE(d->grid()->rowCount(), 1);
    d->accept();
    QCOMPARE(storedNames(), (std::vector<std::string>{"新奖项"}));
  }

  void liveEffectsOkAndCancel() {
    open({"隐藏主标题=-1"});
    auto d = dialog();
    child<QCheckBox>(*d, "CheckBox3")->click();
    QCOMPARE(fake.ticks[ShowTick::MainTitle], false);
    child<QSlider>(*d, "TrackBar1")->setValue(0);
    QCOMPARE(data.settings.baseRollingInterval, 120);
    QCOMPARE(fake.intervals.back(), 120);
    child<QCheckBox>(*d, "CheckBox13")->setChecked(true);
    QVERIFY(data.settings.speedRamp);
    data.settings.groupDisplay = false;
    child<QCheckBox>(*d, "CheckBox9")->click();
    QVERIFY(data.settings.groupDisplay);
    child<QCheckBox>(*d, "CheckBox16")->click();
    child<QLineEdit>(*d, "Edit3")->setText(QStringLiteral("5"));

    d->reject();
    QVERIFY(!data.state.changed);
    QCOMPARE(stored("隐藏主标题"), std::string("-1"));  // Cancel saves nothing

    // The live effect stayed: the menu tick is what the next opening shows.
    QCOMPARE(fake.ticks[ShowTick::MainTitle], false);
    fake.ticks[ShowTick::MainTitle] = true;
    d = dialog();
    child<QCheckBox>(*d, "CheckBox3")->click();
    child<QCheckBox>(*d, "CheckBox16")->click();
    child<QLineEdit>(*d, "Edit3")->setText(QStringLiteral("5"));
    child<QCheckBox>(*d, "CheckBox1")->click();
    QVERIFY(data.state.changed);
    child<QPushButton>(*d, "Button1")->click();
    QVERIFY(!d->isVisible());
    QVERIFY(data.state.changed);  // OK leaves the mark for the opener
    QCOMPARE(stored("隐藏主标题"), std::string("0"));
    QCOMPARE(stored("重复中奖"), std::string("-1"));
    QCOMPARE(stored("自动抽奖"), std::string("1"));
    QVERIFY(data.settings.autoStop);
    QCOMPARE(data.settings.autoStopSeconds, 5);
    QCOMPARE(fake.countdownHidden, 1);
  }

  void badSecondsKeepTheDialogOpenAfterTheKeysAreWritten() {
    open();
    auto d = dialog();
    child<QCheckBox>(*d, "CheckBox17")->click();
    child<QLineEdit>(*d, "Edit4")->setText(QStringLiteral("abc"));
    child<QPushButton>(*d, "Button1")->click();
    QVERIFY(d->isVisible());
    QVERIFY(dialogs.log().last().contains(QStringLiteral("is not a valid integer value")));
    QCOMPARE(stored("自动开始Sec"), std::string("abc"));
    QVERIFY(data.settings.autoStart);
    QCOMPARE(data.settings.autoStartSeconds, 10);
    QCOMPARE(fake.countdownHidden, 0);
  }

  void aPictureFromElsewhereIsCopiedIntoPrize() {
    open();
    const auto outside = event.dir() / "elsewhere" / "watch.png";
    std::filesystem::create_directories(outside.parent_path());
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(platform::toQString(outside)));
    auto d = dialog();
    d->grid()->setCurrentCell(1, 1);
    dialogs.setNextFileName(platform::toQString(outside));
    d->changePicture();
    QVERIFY(std::filesystem::exists(event.dir() / "prize" / "watch.png"));
    QCOMPARE(cell(d->grid(), 1, 7), QStringLiteral("watch.png"));
    QVERIFY(d->previewFile().endsWith(QStringLiteral("prize/watch.png")));

    // Not a picture: refused, the cell keeps its name.
    const auto broken = event.dir() / "elsewhere" / "broken.jpg";
    event.dir().write("elsewhere/broken.jpg", "not a picture");
    dialogs.setNextFileName(platform::toQString(broken));
    d->changePicture();
    QCOMPARE(cell(d->grid(), 1, 7), QStringLiteral("watch.png"));
    QVERIFY(!std::filesystem::exists(event.dir() / "prize" / "broken.jpg"));

    d->accept();
    auto again = dialog();
    again->grid()->setCurrentCell(1, 1);
    QVERIFY(again->previewFile().endsWith(QStringLiteral("prize/watch.png")));
  }
};

QTEST_MAIN(AwardSettingsTest)
#include "award_settings_test.moc"
