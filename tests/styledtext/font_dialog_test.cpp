// The font dialog driven through its widgets: every control reaches the stored
// font, the colour list round-trips colours outside the basic sixteen, and
// Cancel gives nothing back.
#include "styledtext/font_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "base/gbk.h"

using styledtext::FontRecord;

namespace {

std::string gbk(const char* text) { return base::utf8ToGbk(text); }

template <typename T>
T* child(QWidget& dialog, const char* name) {
  T* found = dialog.findChild<T*>(QString::fromUtf8(name));
  if (!found) qFatal("no widget %s", name);
  return found;
}

void selectRow(QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
  QVERIFY2(!found.isEmpty(), qPrintable(text));
  list->setCurrentItem(found.constFirst());
}

int colourIndex(QComboBox* box, const QString& name) {
  const int index = box->findText(name);
  if (index < 0) qFatal("no colour %s", qPrintable(name));
  return index;
}

FontRecord titleFont() {
  FontRecord font;
  font.name = gbk("黑体");
  font.size = 20;
  font.color = 65535;  // yellow
  font.charset = 134;
  return font;
}

}  // namespace

class FontDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheGivenFontAndGivesItBackUnchanged() {
    FontRecord initial = titleFont();
    initial.bold = true;
    initial.underline = true;
    styledtext::FontDialog dialog(initial);
    QCOMPARE(child<QLineEdit>(dialog, "faceEdit")->text(), QStringLiteral("黑体"));
    QCOMPARE(child<QLineEdit>(dialog, "styleEdit")->text(), QStringLiteral("粗体"));
    QCOMPARE(child<QComboBox>(dialog, "colourBox")->currentText(), QStringLiteral("黄色"));
    QCOMPARE(dialog.font(), initial);
  }

  void everyControlReachesTheFont() {
    styledtext::FontDialog dialog(titleFont());
    selectRow(child<QListWidget>(dialog, "faceList"), QStringLiteral("楷体_GB2312"));
    selectRow(child<QListWidget>(dialog, "styleList"), QStringLiteral("粗偏斜体"));
    selectRow(child<QListWidget>(dialog, "sizeList"), QStringLiteral("36"));
    child<QCheckBox>(dialog, "strikeOutBox")->setChecked(true);
    QComboBox* colours = child<QComboBox>(dialog, "colourBox");
    colours->setCurrentIndex(colourIndex(colours, QStringLiteral("红色")));

    const FontRecord chosen = dialog.font();
    QCOMPARE(chosen.name, gbk("楷体_GB2312"));
    QCOMPARE(chosen.size, 36);
    QCOMPARE(chosen.color, 255);
    QVERIFY(chosen.bold && chosen.italic && chosen.strikeOut && !chosen.underline);
    QCOMPARE(chosen.charset, 134);  // passed through

    // Typing: a size outside the list, and a face no list holds (an event file's face).
    QLineEdit* size = child<QLineEdit>(dialog, "sizeEdit");
    size->clear();
    QTest::keyClicks(size, QStringLiteral("17"));
    QLineEdit* face = child<QLineEdit>(dialog, "faceEdit");
    face->setText(QStringLiteral("某某字体"));
    QCOMPARE(dialog.font().size, 17);
    QCOMPARE(dialog.font().name, gbk("某某字体"));

    // The preview shows the choice.
    auto* preview = dialog.findChild<QLabel*>(QStringLiteral("preview"));
    QVERIFY(preview->font().bold() && preview->font().italic() && preview->font().strikeOut());
    QCOMPARE(preview->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(preview->text().contains(QStringLiteral("抽奖")) && preview->text().contains(QStringLiteral("Aa")));
  }

  void customColoursComeFromTheColourDialogAndRoundTrip() {
    FontRecord initial = titleFont();
    initial.color = 99999;  // not one of the sixteen: shown as a custom entry
    styledtext::FontDialog dialog(initial);
    QComboBox* colours = child<QComboBox>(dialog, "colourBox");
    QVERIFY(colours->currentText().startsWith(QStringLiteral("自定义")));
    QCOMPARE(dialog.font().color, 99999);

    std::optional<int> answer = 10 + 256 * 20 + 65536 * 30;
    int offered = 0;
    dialog.setCustomColourChooser([&](int current) {
      offered = current;
      return answer;
    });
    colours->setCurrentIndex(colourIndex(colours, QStringLiteral("自定义…")));
    QCOMPARE(offered, 99999);
    QCOMPARE(dialog.font().color, 10 + 256 * 20 + 65536 * 30);

    answer.reset();  // cancelled: the colour stays
    colours->setCurrentIndex(colourIndex(colours, QStringLiteral("自定义…")));
    QCOMPARE(dialog.font().color, 10 + 256 * 20 + 65536 * 30);
    QVERIFY(colours->currentText() != QStringLiteral("自定义…"));
  }

  void okGivesTheChoiceAndCancelGivesNothing() {
    for (const auto button : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel}) {
      QTimer::singleShot(0, this, [button] {
        auto* dialog = qobject_cast<styledtext::FontDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QComboBox* colours = child<QComboBox>(*dialog, "colourBox");
        colours->setCurrentIndex(colourIndex(colours, QStringLiteral("白色")));
        QCOMPARE(child<QDialogButtonBox>(*dialog, "buttons")->button(button)->text(),
                 button == QDialogButtonBox::Ok ? QStringLiteral("确定") : QStringLiteral("取消"));
        child<QDialogButtonBox>(*dialog, "buttons")->button(button)->click();
      });
      const std::optional<FontRecord> chosen = styledtext::FontDialog::choose(nullptr, titleFont(), {});
      if (button == QDialogButtonBox::Cancel) {
        QVERIFY(!chosen);
      } else {
        QVERIFY(chosen);
        QCOMPARE(chosen->color, 0xFFFFFF);
      }
    }
  }
};

QTEST_MAIN(FontDialogTest)
#include "font_dialog_test.moc"
