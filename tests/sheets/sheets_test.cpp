// Rosters read from spreadsheets and winners written to them.
#include <xlsxwriter.h>

#include <QFile>
#include <QTest>

#include "base/gbk.h"
#include "sheets/csv_reader.h"
#include "sheets/roster_columns.h"
#include "sheets/sheet_file.h"
#include "sheets/winners_sheet.h"
#include "sheets/xlsx_reader.h"
#include "test_folder.h"

using sheets::Sheet;
using testing_support::gbk;

namespace {

using Rows = std::vector<std::vector<QString>>;

QString path(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// A workbook written by libxlsxwriter; constantMemory writes inline strings
// instead of shared ones, as some programs do.
void writeWorkbook(const std::filesystem::path& file, bool constantMemory) {
  lxw_workbook_options options{};
  options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
  lxw_workbook* workbook = workbook_new_opt(file.c_str(), &options);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "名单");
  lxw_format* date = workbook_add_format(workbook);
  format_set_num_format(date, "yyyy/m/d");
  worksheet_write_string(sheet, 0, 0, "工号", nullptr);
  worksheet_write_string(sheet, 0, 1, "姓名", nullptr);
  worksheet_write_string(sheet, 0, 2, "备注", nullptr);
  worksheet_write_number(sheet, 1, 0, 100023, nullptr);
  worksheet_write_string(sheet, 1, 1, "张三", nullptr);
  worksheet_write_number(sheet, 1, 2, 1.5, nullptr);
  worksheet_write_number(sheet, 2, 0, 123456789012345, nullptr);
  worksheet_write_string(sheet, 2, 1, "李 四", nullptr);
  lxw_datetime when = {2024, 2, 29, 0, 0, 0};
  worksheet_write_datetime(sheet, 2, 2, &when, date);
  // row 3 stays empty
  worksheet_write_formula_num(sheet, 4, 0, "=A2+1", nullptr, 100024);
  worksheet_write_string(sheet, 4, 1, "王五", nullptr);
  worksheet_write_boolean(sheet, 4, 2, 1, nullptr);
  if (!constantMemory) worksheet_merge_range(sheet, 5, 0, 5, 2, "合并单元格", nullptr);
  QCOMPARE(workbook_close(workbook), LXW_NO_ERROR);
}

draw::DrawData winnersFixture() {
  draw::DrawData data;
  data.ItemGrid.setRowCount(3);
  data.ItemGrid.setRow(1, {"1", gbk("一等奖"), "1", "1", "", gbk("手机,一部"), "", "", "2"});
  data.ItemGrid.setRow(2, {"2", gbk("二等奖"), "5", "5", "", gbk("\"小\"米"), "", "", "1"});
  data.LuckNameGrid.setRowCount(5);
  data.LuckNameGrid.setRow(1, {"7", gbk("张三"), gbk("张*"), gbk("一等奖"), "1"});
  data.LuckNameGrid.setRow(2, {"12", gbk("Smith, J"), gbk("Smith, J"), gbk("二等奖"), "2"});
  // Names GBK cannot spell leave as they are.
  data.LuckNameGrid.setRow(3, {"3", gbk("陈𠀀 ئابدۇ"), gbk("陈* ئابدۇ"), gbk("一等奖"), "1"});
  return data;
}

}  // namespace

class SheetsTest : public QObject {
  Q_OBJECT

 private slots:
  void csvCases_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("plain, CR LF") << QByteArray("a,b\r\nc,d\r\n") << Rows{{"a", "b"}, {"c", "d"}};
    QTest::newRow("LF and CR alone") << QByteArray("a\nb\rc") << Rows{{"a"}, {"b"}, {"c"}};
    QTest::newRow("quoted comma, quote, line break")
        << QByteArray("\"x,y\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n") << Rows{{"x,y", "say \"hi\"", "two\r\nlines"}};
    QTest::newRow("blanks kept, empty fields") << QByteArray(" 张三 ,,x") << Rows{{" 张三 ", "", "x"}};
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF姓名,工号\r\n张三,001")
                                    << Rows{{"姓名", "工号"}, {"张三", "001"}};
    const std::string gbkText = gbk("姓名,部门\r\n张三,研发部\r\n");
    QTest::newRow("GBK") << QByteArray(gbkText.data(), static_cast<qsizetype>(gbkText.size()))
                         << Rows{{"姓名", "部门"}, {"张三", "研发部"}};
    QTest::newRow("empty file") << QByteArray() << Rows{};
  }
  void csvCases() {
    QFETCH(QByteArray, bytes);
    QFETCH(Rows, rows);
    QCOMPARE(sheets::readCsv(bytes).rows, rows);
  }

  void csvBrokenQuotesAreRefused() {
    QVERIFY_THROWS_EXCEPTION(sheets::SheetError, sheets::readCsv("a,\"never ends\r\nb"));
    QVERIFY_THROWS_EXCEPTION(sheets::SheetError, sheets::readCsv("a,b\"c\r\n"));
  }

  void workbookCellsReadAsShown() {
    for (const bool constantMemory : {false, true}) {
      testing_support::TestFolder dir;
      writeWorkbook(dir / "roster.xlsx", constantMemory);
      const Sheet sheet = sheets::readSheetFile(path(dir / "roster.xlsx"));
      QVERIFY(sheet.rows.size() >= 5);
      QCOMPARE(sheet.rows[0], (std::vector<QString>{"工号", "姓名", "备注"}));
      QCOMPARE(sheet.rows[1], (std::vector<QString>{"100023", "张三", "1.5"}));
      QCOMPARE(sheet.rows[2], (std::vector<QString>{"123456789012345", "李 四", "2024-02-29"}));
      QVERIFY(sheet.rows[3].empty());
      QCOMPARE(sheet.rows[4], (std::vector<QString>{"100024", "王五", "TRUE"}));
      if (!constantMemory) {
        QCOMPARE(sheet.cell(5, 0), QStringLiteral("合并单元格"));
        QCOMPARE(sheet.cell(5, 1), QString());
      }
    }
  }

  void workbookFromAnotherProgram() {
    const Sheet sheet = sheets::readSheetFile(QStringLiteral(KV_SHEET_FIXTURES "/roster_from_other_program.xlsx"));
    QCOMPARE(sheet.rows.size(), std::size_t{5});
    QCOMPARE(sheet.rows[0], (std::vector<QString>{"工号", "姓名", "部门", "入职日期"}));
    QCOMPARE(sheet.rows[1], (std::vector<QString>{"100023", "张三", "研发部", "2019-03-01"}));
    QCOMPARE(sheet.rows[2], (std::vector<QString>{"100024", "李四", "市场部, 华东", "2020-11-15"}));
    QVERIFY(sheet.rows[3].empty());
    QCOMPARE(sheet.cell(4, 0), QStringLiteral("150000"));
    QCOMPARE(sheet.cell(4, 1), QStringLiteral("王\"小\"五"));
  }

  void numbersNeverInExponentForm_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("staff number") << 100023.0 << "100023";
    QTest::newRow("1.0E+05") << 1.0e5 << "100000";
    QTest::newRow("fraction") << 0.1 << "0.1";
    QTest::newRow("negative") << -42.25 << "-42.25";
    QTest::newRow("15 digits") << 123456789012345.0 << "123456789012345";
  }
  void numbersNeverInExponentForm() {
    QFETCH(double, value);
    QFETCH(QString, shown);
    QCOMPARE(sheets::numberText(value), shown);
  }

  void filesThatAreNoWorkbookAreRefusedWithAMessage() {
    testing_support::TestFolder dir;
    dir.write("text.xlsx", "张三\r\n李四\r\n");
    dir.write("old.xlsx", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
    writeWorkbook(dir / "good.xlsx", false);
    const std::string good = dir.read("good.xlsx");
    dir.write("damaged.xlsx", good.substr(0, good.size() / 2));
    dir.write("roster.ods", "x");
    dir.write("text.xls", "张三\r\n李四\r\n");
    dir.write("damaged.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
    // Each file is refused for its own reason, and the message says which.
    const QString notAWorkbook = QStringLiteral("此文件不是有效的 Excel 工作簿(.xlsx),无法导入");
    const std::pair<const char*, QString> refusals[] = {
        {"text.xlsx", notAWorkbook},
        {"old.xlsx", QStringLiteral("此工作簿设有密码,无法导入。请在电子表格程序中取消密码或另存为 .csv 后再导入")},
        {"damaged.xlsx", notAWorkbook},
        {"roster.ods", QStringLiteral("只能导入 .xlsx、.xls 或 .csv 表格")},
        {"missing.xlsx", QStringLiteral("无法打开文件: ") + path(dir / "missing.xlsx")},
        {"text.xls", notAWorkbook},
        {"damaged.xls", QStringLiteral("此文件不是有效的 Excel 工作簿(.xls),无法导入")},
    };
    for (const auto& [name, reason] : refusals) {
      try {
        sheets::readSheetFile(path(dir / name));
        QFAIL(name);
      } catch (const sheets::SheetError& error) {
        QCOMPARE(error.message(), reason);
      }
    }
  }

  void rosterLinesFromTickedColumns() {
    Sheet sheet;
    sheet.rows = {{"工号", "姓名", "部门"}, {"001", "张三", "研发"}, {}, {"002", "", ""}, {"", "李\n四", "市场"}};
    QVERIFY(sheets::looksLikeHeadings(sheet));
    sheets::ColumnChoice choice;
    choice.columns = {1, 2};
    choice.skipFirstRow = true;
    QCOMPARE(sheets::rosterLines(sheet, choice), (QStringList{"张三  研发", "李 四  市场"}));
    choice.columns = {0, 1};
    choice.separator = QStringLiteral("-");
    QCOMPARE(sheets::rosterLines(sheet, choice), (QStringList{"001-张三", "002-", "-李 四"}));
    QCOMPARE(sheets::rosterLines(sheet, choice, 1), QStringList{"001-张三"});

    Sheet names;
    names.rows = {{"Nora"}, {"张三"}};
    QVERIFY(!sheets::looksLikeHeadings(names));
  }

  void onlyHalfCharactersCannotBeStored() {
    const QStringList lines = {"张三", "José", "😀 Emoji", "李四?", "𠀋", "Zoë", QStringLiteral("王") + QChar(0xDC00)};
    QCOMPARE(sheets::unstorableLines(lines), (std::vector<int>{6}));
  }

  // An HR export: a merged title, a date line and a blank row above the headings.
  void oldWorkbookFromAnotherProgram() {
    const Sheet sheet = sheets::readSheetFile(QStringLiteral(KV_SHEET_FIXTURES "/roster_with_title_rows.xls"));
    QCOMPARE(sheet.cell(0, 0), QStringLiteral("2026年会抽奖名单"));
    QCOMPARE(sheet.rows[3], (std::vector<QString>{"工号", "姓名", "部门"}));
    QCOMPARE(sheet.rows[4], (std::vector<QString>{"100023", "张三", "研发"}));
    QCOMPARE(sheet.cell(5, 1), QStringLiteral("陈𠀀"));
    QCOMPARE(sheet.cell(6, 1), QStringLiteral("李𬌗"));
    QCOMPARE(sheet.cell(7, 1), QStringLiteral("ئابدۇ"));
    QCOMPARE(sheet.cell(8, 0), QStringLiteral("1.5"));
    QCOMPARE(sheet.cell(8, 1), QStringLiteral("Zoë Øyen"));

    // The heading row is found under the titles; its name column is chosen and
    // nothing above it becomes a person.
    const sheets::ColumnChoice choice = sheets::defaultChoice(sheet);
    QCOMPARE(choice.headingRow, std::size_t{3});
    QVERIFY(choice.skipFirstRow);
    QCOMPARE(choice.columns, std::vector<int>{1});
    QCOMPARE(sheets::rosterLines(sheet, choice), (QStringList{"张三", "陈𠀀", "李𬌗", "ئابدۇ", "Zoë Øyen"}));
  }

  void headingRowIsLookedForWithinTheFirstRows() {
    struct Case {
      const char* what;
      Rows rows;
      std::size_t headingRow;
      bool skip;
      std::vector<int> columns;
    } cases[] = {
        {"headings in the first row", {{"工号", "Name"}, {"1", "Tom"}}, 0, true, {1}},
        {"a title above", {{"年会名单"}, {"序号", "部门", "姓名"}, {"1", "研发", "张三"}}, 1, true, {2}},
        {"no heading at all", {{"张三"}, {"李四"}}, 0, false, {0}},
        {"a name heading below the first 20 rows is a person",
         [] {
           Rows rows(25, {"x"});
           rows[21] = {"姓名"};
           return rows;
         }(),
         0,
         false,
         {0}},
    };
    for (const Case& c : cases) {
      Sheet sheet;
      sheet.rows = c.rows;
      const sheets::ColumnChoice choice = sheets::defaultChoice(sheet);
      QVERIFY2(choice.headingRow == c.headingRow && choice.skipFirstRow == c.skip && choice.columns == c.columns,
               c.what);
    }
  }

  // A sheet of people without a heading row, numbers first ("1001,张三"): the
  // second row has a number under the first row's, which is how headings over
  // numbers look, but a row that holds a number is a person, never a heading.
  void aSheetWithoutHeadingsWhoseFirstColumnIsNumbersKeepsItsFirstPerson() {
    const std::string gbkText = gbk("1001,张三\r\n1002,李四\r\n");
    const Sheet sheet = sheets::readCsv(QByteArray(gbkText.data(), static_cast<qsizetype>(gbkText.size())));
    QVERIFY(!sheets::looksLikeHeadings(sheet));
    sheets::ColumnChoice choice = sheets::defaultChoice(sheet);
    QCOMPARE(choice.headingRow, std::size_t{0});
    QVERIFY(!choice.skipFirstRow);
    choice.columns = {0, 1};
    QCOMPARE(sheets::rosterLines(sheet, choice), (QStringList{"1001  张三", "1002  李四"}));
  }

  void winnersExportReadsBackRecordByRecord() {
    const draw::DrawData data = winnersFixture();
    const std::vector<QStringList> rows = sheets::winnersRows(data);
    QCOMPARE(rows.size(), std::size_t{3});
    QCOMPARE(rows[1], (QStringList{"2", "二等奖", "\"小\"米", "12", "Smith, J", "Smith, J"}));

    testing_support::TestFolder dir;
    QCOMPARE(sheets::exportWinnersAs(data, dir / "winners.xlsx"), dir / "winners.xlsx");
    QCOMPARE(sheets::exportWinnersAs(data, dir / "winners.CSV"), dir / "winners.CSV");
    const std::string csv = dir.read("winners.CSV");
    QVERIFY(csv.rfind("\xEF\xBB\xBF", 0) == 0);
    for (const Sheet& back : {sheets::readSheetFile(path(dir / "winners.xlsx")),
                              sheets::readCsv(QByteArray(csv.data(), static_cast<qsizetype>(csv.size())))}) {
      QCOMPARE(back.rows.size(), rows.size() + 1);
      QCOMPARE(QStringList(back.rows[0].begin(), back.rows[0].end()), sheets::winnersHeading());
      for (std::size_t r = 0; r < rows.size(); ++r)
        QCOMPARE(QStringList(back.rows[r + 1].begin(), back.rows[r + 1].end()), rows[r]);
    }
  }

  void exportNameGivesTheFormat_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("xlsx") << "a.xlsx"
                          << "a.xlsx";
    QTest::newRow("XLSX") << "a.XLSX"
                          << "a.XLSX";
    QTest::newRow("csv") << "a.csv"
                         << "a.csv";
    QTest::newRow("txt") << "a.txt"
                         << "a.txt";
    QTest::newRow("none") << "a"
                          << "a.txt";
    QTest::newRow("other ending") << "a.xls"
                                  << "a.xls.txt";
  }
  void exportNameGivesTheFormat() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    testing_support::TestFolder dir;
    const std::filesystem::path result = sheets::exportWinnersAs(winnersFixture(), dir / chosen.toStdString());
    QCOMPARE(QString::fromStdString(result.filename().string()), written);
    QVERIFY(std::filesystem::is_regular_file(result));
  }
};

QTEST_GUILESS_MAIN(SheetsTest)
#include "sheets_test.moc"
