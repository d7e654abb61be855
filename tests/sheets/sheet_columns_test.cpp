// The column dialog and the import it serves, through their widgets.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
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

  void importAsksAboutUnspellableNames() {
    testing_support::TestFolder dir;
    dir.write("r.csv", "姓名,部门\r\n张三,研发\r\n😀,市场\r\n李四,财务\r\n");
    const QString file = QString::fromStdString((dir / "r.csv").string());
    sheets::ColumnChoice choice;
    choice.columns = {0};
    choice.skipFirstRow = true;
    screen::DialogService dialogs;
    dialogs.setHeadless(true);
    dialogs.setNextColumns(choice);
    dialogs.setNextAnswer(true);
    QCOMPARE(dialogs::importSheetRoster(file, dialogs), std::optional<QStringList>(QStringList{"张三", "李四"}));
    QVERIFY(dialogs.log().constLast().contains(QStringLiteral("😀")));
    dialogs.setNextColumns(choice);
    dialogs.setNextAnswer(false);
    QCOMPARE(dialogs::importSheetRoster(file, dialogs), std::nullopt);

    dir.write("bad.xlsx", "not a workbook");
    QCOMPARE(dialogs::importSheetRoster(QString::fromStdString((dir / "bad.xlsx").string()), dialogs), std::nullopt);
    QVERIFY(dialogs.log().constLast().startsWith(QStringLiteral("message: ")));
  }
};

QTEST_MAIN(SheetColumnsTest)
#include "sheet_columns_test.moc"
