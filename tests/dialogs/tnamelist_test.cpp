// The roster editor and its generator in the real windows: opening, the close
// question, the list operations through the menu, import, export, printing and
// the bytes of a damaged roster.
#include "dialogs/TnameList.h"

#include <QLineEdit>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

#include "base/gbk.h"
#include "base/text_file.h"
#include "dialogs/TForm2.h"
#include "dialogs/line_number_gutter.h"
#include "dialogs/roster_print.h"
#include "screen/dialog_service.h"
#include "test_folder.h"
#include "ui_TForm2.h"
#include "ui_TnameList.h"
#include "window_test_setup.h"

using dialogs::TnameList;
using Choice = screen::DialogService::Choice;
using testing_support::gbk;

namespace {

QStringList memoLines(const TnameList& editor) { return editor.memo()->toPlainText().split(u'\n'); }

}  // namespace

class TnameListTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void withoutARosterItOpensNumberedAndClosingAsksToSave() {
    testing_support::TestFolder folder;
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);
    editor.show();
    QStringList expected;
    for (int k = 1; k <= 36; ++k) expected << QString::number(k);
    QCOMPARE(memoLines(editor), expected + QStringList{QString()});
    QVERIFY(!editor.modified());

    // Dropping the empty last line is a change: the question comes; Cancel keeps the window.
    dialogs.setNextChoice(Choice::Cancel);
    QVERIFY(!editor.close());
    QVERIFY(editor.isVisible());
    QCOMPARE(dialogs.log().last(), QStringLiteral("question: 名单已被修改,是否保存?"));
    QVERIFY(!QFile::exists(QString::fromStdString((folder / "NameList.txt").string())));

    dialogs.setNextChoice(Choice::Yes);
    QVERIFY(editor.close());
    QVERIFY(editor.changedMark());
    const std::vector<std::string> saved = base::readLines(folder / "NameList.txt");
    QCOMPARE(saved.size(), std::size_t{36});
    QCOMPARE(folder.read("NameList.txt").substr(0, 6), std::string("1\r\n2\r\n"));
  }

  void saveFromTheMenuLeavesNothingToAskOnClose() {
    testing_support::TestFolder folder;
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);  // 1 … 36 and an empty line
    editor.show();
    editor.memo()->appendPlainText(QStringLiteral("张三"));
    editor.form().N12->trigger();
    QVERIFY(!editor.modified());
    QVERIFY(editor.changedMark());  // the draw reads the saved roster
    QCOMPARE(base::readLines(folder / "NameList.txt").back(), gbk("张三"));
    QVERIFY(editor.close());
    QVERIFY(dialogs.log().filter(QStringLiteral("question:")).isEmpty());
  }

  void closingAnswersDecideWhatIsWritten() {
    testing_support::TestFolder folder;
    folder.write("NameList.txt", gbk("张三\r\n李四\r\n"));
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    {
      TnameList editor(folder.path(), dialogs, random);
      editor.show();
      QVERIFY(editor.close());  // nothing changed: no question
      QVERIFY(dialogs.log().isEmpty());
      QVERIFY(!editor.changedMark());
    }
    {
      TnameList editor(folder.path(), dialogs, random);
      editor.show();
      editor.memo()->moveCursor(QTextCursor::End);
      QTest::keyClicks(editor.memo(), QStringLiteral("x"));
      dialogs.setNextChoice(Choice::Cancel);
      QVERIFY(!editor.close());
      QCOMPARE(memoLines(editor), (QStringList{QStringLiteral("张三"), QStringLiteral("李四x")}));
      dialogs.setNextChoice(Choice::No);
      QVERIFY(editor.close());
      QVERIFY(!editor.changedMark());
      QCOMPARE(folder.read("NameList.txt"), gbk("张三\r\n李四\r\n"));
    }
  }

  void listOperationsRunThroughTheMenu() {
    testing_support::TestFolder folder;
    folder.write("NameList.txt", gbk("张三\r\n李四\r\n张三\r\n王五\r\n李四\r\n"));
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);
    Ui::TnameList& form = editor.form();

    form.N18->trigger();
    QCOMPARE(memoLines(editor), (QStringList{QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五")}));
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 重复人员已删除：李四张三"));
    QVERIFY(editor.modified());

    form.N19->trigger();
    QCOMPARE(memoLines(editor).first(), QStringLiteral("张  三"));
    form.N7->trigger();
    QCOMPARE(memoLines(editor).first(), QStringLiteral("张三"));

    dialogs.setNextText(QStringLiteral("A-"));
    form.N22->trigger();
    dialogs.setNextText(std::nullopt);  // cancelled: the lines stay
    form.N23->trigger();
    QCOMPARE(memoLines(editor),
             (QStringList{QStringLiteral("A-张三"), QStringLiteral("A-李四"), QStringLiteral("A-王五")}));
    QCOMPARE(dialogs.log().last(), QStringLiteral("text: 添加前缀"));

    // Every operation is one undo step of the text.
    editor.memo()->undo();
    editor.memo()->undo();
    QCOMPARE(memoLines(editor).first(), QStringLiteral("张三"));

    form.N2->trigger();
    QVERIFY(editor.memo()->toPlainText().isEmpty());
    QVERIFY(editor.lines().empty());
  }

  void undecodableBytesSurviveAnEditAndTheOperatorIsToldOnce() {
    testing_support::TestFolder folder;
    const std::string damaged = "\xFF" + gbk("张三") + "\x80";
    folder.write("NameList.txt", "  " + damaged + "  \r\n" + gbk("李四") + "\x81\r\n" + gbk("王五") + "\r\n");
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);
    QCOMPARE(dialogs.log().size(), 1);
    QVERIFY(dialogs.log().first().contains(QStringLiteral("2行")));
    editor.form().N17->trigger();  // trim
    editor.form().N12->trigger();  // save
    QCOMPARE(folder.read("NameList.txt"), damaged + "\r\n" + gbk("李四") + "\x81\r\n" + gbk("王五") + "\r\n");
  }

  void importReplacesAndExportFollowsTheTxtRule() {
    testing_support::TestFolder folder;
    folder.write("in.txt", gbk("甲\n乙\r丙\r\n"));
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);
    dialogs.setNextFileName(QString::fromStdString((folder / "in.txt").string()));
    editor.form().N3->trigger();
    QCOMPARE(memoLines(editor), (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}));

    const std::pair<const char*, const char*> names[] = {
        {"list", "list.txt"}, {"list.txt", "list.txt"}, {"LIST.TXT", "LIST.TXT.txt"}};
    for (const auto& [typed, written] : names) {
      QCOMPARE(TnameList::exportName(QString::fromLatin1(typed)), QString::fromLatin1(written));
      dialogs.setNextFileName(QString::fromStdString((folder / typed).string()));
      editor.form().N13->trigger();
      QCOMPARE(folder.read(written), gbk("甲\r\n乙\r\n丙\r\n"));
    }

    // A file that cannot be read leaves the text as it was.
    dialogs.setNextFileName(QString::fromStdString((folder / "missing.txt").string()));
    editor.form().N3->trigger();
    QCOMPARE(memoLines(editor).size(), 3);
    QVERIFY(dialogs.log().last().startsWith(QStringLiteral("message: ")));
  }

  // Names GBK cannot spell, loaded and typed, are saved with their own bytes.
  void namesOutsideGbkAreSavedWhole() {
    const QStringList loaded = {QStringLiteral("王䶮"), QStringLiteral("陈𠀀")};
    const QStringList typed = {QStringLiteral("李𬌗"), QStringLiteral("김민수"), QStringLiteral("Zoë Øyen"),
                               QStringLiteral("ئابدۇ"), QStringLiteral("𠀀").repeated(300)};
    testing_support::TestFolder folder;
    folder.write("NameList.txt", gbk(loaded.join(QStringLiteral("\r\n")).toStdString()) + "\r\n");
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);
    QCOMPARE(memoLines(editor), loaded);
    QVERIFY(dialogs.log().isEmpty());  // nothing undecodable in a GB18030 roster
    QStringList all = loaded;
    all << typed;
    editor.memo()->setPlainText(all.join(u'\n'));
    editor.form().N12->trigger();
    QCOMPARE(folder.read("NameList.txt"), gbk(all.join(QStringLiteral("\r\n")).toStdString()) + "\r\n");
    QVERIFY(folder.read("NameList.txt").find('?') == std::string::npos);

    // Half a character (a lone surrogate) has no bytes: the save is refused and
    // says which text, and the file stays as it was.
    editor.memo()->setPlainText(QStringLiteral("王") + QChar(0xD800));
    editor.form().N12->trigger();
    QVERIFY(dialogs.log().last().contains(QStringLiteral("无法保存")));
    QCOMPARE(folder.read("NameList.txt"), gbk(all.join(QStringLiteral("\r\n")).toStdString()) + "\r\n");
  }

  void importReadsUtf8TextAndRefusesFilesThatAreNotText() {
    testing_support::TestFolder folder;
    folder.write("utf8.txt", "周八\n王五\n陈𠀀\n");
    folder.write("either.txt", gbk("平") + "\r\n");  // C6 BD: also the UTF-8 of "ƽ"
    folder.write("photo.txt", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11));
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);
    auto import = [&](const char* name) {
      dialogs.setNextFileName(QString::fromStdString((folder / name).string()));
      editor.form().N3->trigger();
    };

    import("utf8.txt");
    QCOMPARE(memoLines(editor), (QStringList{"周八", "王五", "陈𠀀"}));
    editor.form().N12->trigger();
    QCOMPARE(folder.read("NameList.txt"), gbk("周八\r\n王五\r\n陈𠀀\r\n"));  // the roster stays GB18030

    // In doubt the operator sees the first lines both ways and chooses.
    dialogs.setNextChoice(Choice::No);
    import("either.txt");
    QCOMPARE(memoLines(editor), QStringList{"平"});
    QVERIFY(dialogs.log().last().contains(QStringLiteral("按UTF-8读取:\n    ƽ")));
    QVERIFY(dialogs.log().last().contains(QStringLiteral("按GBK读取:\n    平")));
    dialogs.setNextChoice(Choice::Yes);
    import("either.txt");
    QCOMPARE(memoLines(editor), QStringList{"ƽ"});
    import("utf8.txt");

    // A file that is no text is refused with a message; the text stays.
    const qsizetype logged = dialogs.log().size();
    import("photo.txt");
    QCOMPARE(dialogs.log().size(), logged + 2);  // the file chooser, then the message
    QVERIFY(dialogs.log().last().contains(QStringLiteral("photo.txt 不是文本文件")));
    QCOMPARE(memoLines(editor).first(), QStringLiteral("周八"));
  }

  void importTakesTheTickedColumnsOfASpreadsheet() {
    testing_support::TestFolder folder;
    folder.write("hr.csv", "\xEF\xBB\xBF工号,姓名,部门\r\n001,张三,研发部\r\n002,\"李,四\",市场部\r\n");
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);
    sheets::ColumnChoice choice;  // the headings row skipped
    choice.columns = {0, 1};
    choice.skipFirstRow = true;
    dialogs.setNextColumns(choice);
    dialogs.setNextFileName(QString::fromStdString((folder / "hr.csv").string()));
    editor.form().N3->trigger();
    QCOMPARE(memoLines(editor), (QStringList{QStringLiteral("001  张三"), QStringLiteral("002  李,四")}));
    editor.form().N12->trigger();
    QCOMPARE(folder.read("NameList.txt"), gbk("001  张三\r\n002  李,四\r\n"));
  }

  void generatorRefusesChecksDigitsAndAppends() {
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    dialogs::TForm2 generator(dialogs);
    Ui::TForm2& form = generator.form();
    QVERIFY(form.CheckBox1->isChecked());

    QTest::keyClicks(form.Edit3, QStringLiteral("1a2"));
    QCOMPARE(form.Edit3->text(), QStringLiteral("12"));
    QCOMPARE(dialogs.log().last(), QStringLiteral("message: 必须输入数字"));

    struct Case {
      QString first, last;
      QString message;
    } refusals[] = {
        {"", "5", "message: 起始序号不能为空"},
        {"5", "", "message: 截止序号不能为空"},
        {"12", "9", "message: 截止序号不能小于起始序号"},
        {"1", "99999999999", "message: '99999999999' is not a valid integer value"},
        {"0", "9999999", "message: 一次最多生成100000笔名单,请缩小起始与截止序号的范围"},
    };
    for (const auto& c : refusals) {
      form.Edit3->setText(c.first);
      form.Edit4->setText(c.last);
      generator.Button1Click();
      QCOMPARE(dialogs.log().last(), c.message);
      QVERIFY(generator.lines().empty());
    }

    form.Edit1->setText(QStringLiteral("A"));
    form.Edit3->setText(QStringLiteral("8"));
    form.Edit4->setText(QStringLiteral("12"));
    form.Edit6->setText(QStringLiteral("09"));
    generator.Button1Click();
    QCOMPARE(generator.result(), int(QDialog::Accepted));
    QCOMPARE(generator.lines(), (draw::Lines{"A08", "A11", "A12"}));

    testing_support::TestFolder folder;
    folder.write("NameList.txt", "x\r\n");
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);
    editor.runGenerator = [&] { return generator.lines(); };
    editor.form().N21->trigger();
    QCOMPARE(memoLines(editor), (QStringList{"x", "A08", "A11", "A12"}));
    QVERIFY(editor.modified());
  }

  void printingBreaksPagesAndTheGutterFollowsScrolling() {
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("roster.pdf")));
    QStringList lines;
    for (int k = 0; k < 300; ++k) lines << QStringLiteral("员工%1").arg(k);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(16);
    const int pages = dialogs::printRoster(pdf, lines, font);
    QVERIFY2(pages >= 3 && pages <= 20, qPrintable(QString::number(pages)));

    testing_support::TestFolder folder;
    std::vector<std::string> many;
    for (int k = 1; k <= 500; ++k) many.push_back(std::to_string(k));
    base::rewriteLines(folder / "NameList.txt", many);
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    draw::RandomSource random(1);
    TnameList editor(folder.path(), dialogs, random);
    editor.resize(560, 640);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.form().Label_Row->firstNumber(), 1);
    editor.memo()->verticalScrollBar()->setValue(100);
    QCOMPARE(editor.form().Label_Row->firstNumber(), 101);
  }
};

QTEST_MAIN(TnameListTest)
#include "tnamelist_test.moc"
