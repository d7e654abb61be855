// "字体设置" on the draw screen: a caption and the rolling frames take the colour
// and style chosen, and the colour is stored where the files keep it.
#include <QApplication>
#include <QMenu>
#include <QtTest>

#include "app/TForm1.h"
#include "base/delimited_row.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "screen/dialog_service.h"
#include "screen/rolling_frame.h"
#include "styledtext/TSmoothLabel.h"
#include "test_folder.h"
#include "window_event.h"
#include "window_test_setup.h"

using testing_support::gbk;

namespace {

void writeEvent(const testing_support::TestFolder& folder) {
  window_testing::WindowEvent({{"一等奖", 3, 3, "电脑"}})
      .set("界面设置", {"隐私_check=0", "重复中奖=0"})
      .set("窗体样式", {"窗体宽=1280", "窗体高=720"})
      .people(8)
      .write(folder);
}

// Right-clicks `element` and picks "字体设置" from the menu that opens.
void chooseFontFromMenu(QWidget* element) {
  emit element->customContextMenuRequested(QPoint(1, 1));
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  QVERIFY(popup);
  QAction* font = nullptr;
  for (QAction* action : popup->actions())
    if (action->text() == QStringLiteral("字体设置")) font = action;
  popup->close();
  QVERIFY(font);
  font->trigger();
}

}  // namespace

class FontChoiceTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void captionTakesColourAndStyle() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    window.show();
    styledtext::TSmoothLabel* title = window.label(screen::Label::MainTitle);
    styledtext::FontRecord chosen = title->smoothFont();
    chosen.color = 255;  // red
    chosen.bold = true;
    chosen.italic = true;
    chosen.charset = 1;  // the dialog passes it through; the element keeps its own
    const int charset = title->smoothFont().charset;
    window.dialogs().setNextFont(chosen);
    chooseFontFromMenu(title);
    QCOMPARE(title->smoothFont().color, 255);
    QVERIFY(title->smoothFont().bold && title->smoothFont().italic);
    QCOMPARE(title->smoothFont().charset, charset);

    window.saveState();
    QCOMPARE(base::IniFile(folder / "Config.ini").readInt("MainTitle", "Font.Color", -1), 255);
  }

  void framesTakeColourAndStyleAndTheLayoutKeepsThem() {
    testing_support::TestFolder folder;
    writeEvent(folder);
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    window.show();
    QTest::keyClick(&window, Qt::Key_Space);  // a batch of 3 rolls
    styledtext::FontRecord chosen;
    chosen.name = gbk("黑体");
    chosen.size = 40;
    chosen.color = 65280;  // green
    chosen.italic = true;
    window.dialogs().setNextFont(chosen);
    chooseFontFromMenu(window.frame(1));
    for (int k : {1, 3, 31}) {
      QCOMPARE(window.frame(k)->frameColour(), QColor(0, 255, 0));
      QVERIFY(window.frame(k)->frameFont().italic());
    }
    QCOMPARE(base::IniFile(folder / "Config.ini").readInt("3_S1", "Font.Color", -1), 65280);

    // The next batch of 3 loads the stored layout: colour from the file, style kept.
    QTest::keyClick(&window, Qt::Key_Space);
    window.layoutLoad(3);
    QCOMPARE(window.frame(2)->frameColour(), QColor(0, 255, 0));
    QVERIFY(window.frame(2)->frameFont().italic());
  }
};

QTEST_MAIN(FontChoiceTest)
#include "font_choice_test.moc"
