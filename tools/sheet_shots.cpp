// Shows one window of the spreadsheet work for a screenshot under Xvfb:
// `sheet_shots columns` the column dialog over a three-column sheet,
// `sheet_shots export` the save dialog of the winners export with its formats.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "platform/font_substitutions.h"
#include "screen/tool_commands.h"
#include "sheets/TSheetColumns.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  QTranslator qtTranslations;
  if (qtTranslations.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslations);
  const QString scene = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("columns");
  if (scene == QStringLiteral("export")) {
    QFileDialog dialog(nullptr, QString(), QDir::homePath(), screen::kExportFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.resize(900, 560);
    dialog.show();
    QTimer::singleShot(400, [&dialog] {
      if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) types->showPopup();
    });
    return app.exec();
  }
  sheets::Sheet sheet;
  sheet.rows = {{"工号", "姓名", "部门"},   {"100023", "张三", "研发部"}, {"100024", "李四", "市场部"},
                {"100025", "王五", "财务部"}, {"100026", "赵六", "人事部"}, {"100027", "欧阳娜娜", "研发部"}};
  TSheetColumns dialog(sheet);
  dialog.show();
  return app.exec();
}
