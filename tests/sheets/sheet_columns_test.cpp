// The column dialog and the import it serves, through their widgets.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include "dialogs/sheet_roster_import.h"
#include "sheets/TSheetColumns.h"
#include "test_folder.h"

class SheetColumnsTest : public QObject {
  Q_OBJECT

 private slots:
  void ticksSeparatorAndHeadingsMakeThePreview() {
    sheets::Sheet sheet;
    sheet.rows = {{"工号", "姓名", "部门"}, {"001", "张三", "研发部"}, {"002", "李四", "市场部"}};
    TSheetColumns dialog(sheet);
    auto* columns = dialog.findChild<QListWidget*>("Columns");
    auto* separator = dialog.findChild<QLineEdit*>("Separator");
    auto* skip = dialog.findChild<QCheckBox*>("SkipHeadings");
    auto* preview = dialog.findChild<QPlainTextEdit*>("Preview");
    QCOMPARE(columns->count(), 3);
    QCOMPARE(separator->text(), QStringLiteral("  "));
    QVERIFY(skip->isChecked());
    QCOMPARE(preview->toPlainText(), QStringLiteral("张三\n李四"));

    columns->item(0)->setCheckState(Qt::Unchecked);
    columns->item(1)->setCheckState(Qt::Checked);
    columns->item(2)->setCheckState(Qt::Checked);
    QCOMPARE(preview->toPlainText(), QStringLiteral("张三  研发部\n李四  市场部"));
    separator->setText(QStringLiteral("/"));
    skip->setChecked(false);
    QCOMPARE(preview->toPlainText(), QStringLiteral("姓名/部门\n张三/研发部\n李四/市场部"));
    const sheets::ColumnChoice choice = dialog.choice();
    QCOMPARE(choice.columns, (std::vector<int>{1, 2}));
    QCOMPARE(choice.separator, QStringLiteral("/"));
    QVERIFY(!choice.skipFirstRow);
  }

  // Titles above the headings: the columns are labelled from the heading row,
  // the table starts there, and the titles never reach the preview.
  void headingRowUnderTitlesLabelsTheColumns() {
    sheets::Sheet sheet;
    sheet.rows = {{"2026年会抽奖名单"}, {}, {"工号", "姓名", "部门"}, {"001", "陈𠀀", "研发部"}};
    TSheetColumns dialog(sheet);
    auto* columns = dialog.findChild<QListWidget*>("Columns");
    QCOMPARE(columns->item(1)->text(), QStringLiteral("B 列: 姓名"));
    QCOMPARE(columns->item(1)->checkState(), Qt::Checked);
    QCOMPARE(columns->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(dialog.findChild<QCheckBox*>("SkipHeadings")->text(), QStringLiteral("第 3 行是标题,不导入"));
    auto* table = dialog.findChild<QTableWidget*>("Rows");
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("姓名"));
    QCOMPARE(table->verticalHeaderItem(0)->text(), QStringLiteral("3"));
    QCOMPARE(dialog.findChild<QPlainTextEdit*>("Preview")->toPlainText(), QStringLiteral("陈𠀀"));
    QCOMPARE(dialog.choice().headingRow, std::size_t{2});
  }

  // Every name a sheet holds is kept: the roster file spells them all.
  void importKeepsNamesGbkCannotSpell() {
    testing_support::TestFolder dir;
    dir.write("r.csv", "姓名,部门\r\n张三,研发\r\n😀,市场\r\n陈𠀀,财务\r\n");
    const QString file = QString::fromStdString((dir / "r.csv").string());
    sheets::ColumnChoice choice;
    choice.columns = {0};
    choice.skipFirstRow = true;
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    dialogs.setNextColumns(choice);
    QCOMPARE(dialogs::importSheetRoster(file, dialogs), std::optional<QStringList>(QStringList{"张三", "😀", "陈𠀀"}));
    QCOMPARE(dialogs.log(), QStringList{"columns"});

    dir.write("bad.xlsx", "not a workbook");
    QCOMPARE(dialogs::importSheetRoster(QString::fromStdString((dir / "bad.xlsx").string()), dialogs), std::nullopt);
    QVERIFY(dialogs.log().constLast().startsWith(QStringLiteral("message: ")));
  }
};

QTEST_MAIN(SheetColumnsTest)
#include "sheet_columns_test.moc"
