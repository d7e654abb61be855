#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include "styledtext/SmoothTimer.h"
#include "styledtext/TSmoothFontDlg.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/TSmoothScrollText.h"
#include "styledtext/qt_rasteriser.h"
#include "window_test_setup.h"

using namespace styledtext;

namespace {

FontRecord heiti(int size) {
  FontRecord font;
  font.name = toGbk(QStringLiteral("黑体"));
  font.size = size;
  font.color = colorOf({200, 30, 30});
  return font;
}

// Runs `step` on the dialog once it is shown modally.
void whenDialogShows(std::function<void(TSmoothFontDlg&)> step) {
  QTimer::singleShot(0, [step] {
    auto* dialog = qobject_cast<TSmoothFontDlg*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    step(*dialog);
  });
}

}  // namespace

class StyledTextTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void rasteriserDrawsWhiteTextAndTurnsIt() {
    QtTextRasteriser rasteriser;
    SmoothRenderer renderer(rasteriser);
    TSmoothEffect effect;
    const std::string text = toGbk(QStringLiteral("幸运大抽奖"));
    const TextExtent flat = renderer.measure(text, heiti(24), effect);
    QVERIFY(flat.width > 3 * flat.height);
    const Mask8& mask = renderer.coverage(text, heiti(24), effect, 3);
    int lit = 0;
    for (int y = 0; y < mask.height(); ++y)
      for (int x = 0; x < mask.width(); ++x) lit += mask.at(x, y) > 128;
    QVERIFY(lit > mask.width() * mask.height() / 10);

    effect.setAngle(90);
    const TextExtent turned = renderer.measure(text, heiti(24), effect);
    QVERIFY(std::abs(turned.width - flat.height) <= 1);
    QVERIFY(std::abs(turned.height - flat.width) <= 1);
    // The turned text fills the turned box: its lit pixels are spread over the height.
    const Mask8& upright = renderer.coverage(text, heiti(24), effect, 3);
    int litTop = 0, litBottom = 0;
    for (int x = 0; x < upright.width(); ++x) {
      litTop += upright.at(x, upright.height() / 4) > 0;
      litBottom += upright.at(x, upright.height() * 3 / 4) > 0;
    }
    QVERIFY(litTop > 0 && litBottom > 0);
  }

  // A title at k = 3 is past the glyph cache's size: its glyphs filled one by one
  // give the pixels of the whole text filled as one path, mixed scripts and
  // turned text included; small text still goes through drawText unchanged.
  void glyphByGlyphFillGivesTheWholeTextsPixels() {
    QtTextRasteriser byGlyph(OutlineFill::GlyphByGlyph), whole(OutlineFill::WholeText);
    SmoothRenderer glyphRenderer(byGlyph), wholeRenderer(whole);
    const struct {
      QString text;
      int size, angle;
    } cases[] = {{QStringLiteral("幸运大抽奖二零二六年度盛典"), 36, 0},
                 {QStringLiteral("一等奖 Prize 2026"), 30, 0},
                 {QStringLiteral("特等奖"), 40, 30},
                 {QStringLiteral("现场抽奖环节 Draw"), 28, -45},
                 {QStringLiteral("小字"), 12, 0}};
    for (const auto& c : cases) {
      TSmoothEffect effect;
      effect.setAngle(c.angle);
      const std::string text = toGbk(c.text);
      const Mask8 expected = wholeRenderer.coverage(text, heiti(c.size), effect, 3);
      const Mask8& actual = glyphRenderer.coverage(text, heiti(c.size), effect, 3);
      int lit = 0;
      for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) lit += expected.at(x, y) > 128;
      QVERIFY2(lit > 0, qPrintable(c.text));
      QVERIFY2(actual == expected, qPrintable(c.text));
    }
  }

  void opaqueLabelSizesItselfAndRendersOncePerChange() {
    TSmoothLabel label;
    label.setBorder(3);
    label.setCaption(QStringLiteral("一等奖"));
    label.setSmoothFont(heiti(20));
    QCOMPARE(label.width(), label.TextWidth() + 6);
    QCOMPARE(label.height(), label.TextHeight() + 6);

    const int before = label.renderCount();
    label.beginUpdate();
    label.FontEffect().setBlur(10);
    label.FontEffect().Shadow().setEnabled(true);
    label.setCaption(QStringLiteral("二等奖"));
    QCOMPARE(label.renderCount(), before);
    label.endUpdate();
    QCOMPARE(label.renderCount(), before + 1);
    label.FontEffect().setBlur(10);  // no change, no render
    label.composedImage();
    QCOMPARE(label.renderCount(), before + 1);
    QCOMPARE(label.composedImage().size(), label.size());
  }

  void transparentLabelComposesOverWhatIsBeneathAndCachesTheLayer() {
    QImage beneath(400, 100, QImage::Format_RGB888);
    beneath.fill(QColor(10, 40, 120));
    TSmoothLabel label;
    label.setTransparent(true);
    label.setCaption(QStringLiteral("特等奖"));
    label.setSmoothFont(heiti(30));
    label.FontEffect().Shadow().setEnabled(true);
    label.setBackdropProvider([&](const TSmoothLabel& l) { return beneath.copy(0, 0, l.width(), l.height()); });

    const QImage first = label.composedImage();
    QCOMPARE(first.pixelColor(0, 0), QColor(10, 40, 120));
    const int renders = label.renderCount();
    QCOMPARE(label.composedImage(), first);
    QCOMPARE(label.renderCount(), renders);

    // The cached layer equals a fresh run of the pipeline over the same pixels.
    QtTextRasteriser rasteriser;
    SmoothRenderer renderer(rasteriser);
    Image24 expected = toImage24(beneath.copy(0, 0, label.width(), label.height()));
    renderer.draw(Canvas{expected, true}, 0, 0, toGbk(label.Caption()), label.smoothFont(), label.FontEffect());
    QCOMPARE(first, toQImage(expected));

    beneath.fill(QColor(200, 200, 0));
    const QImage second = label.composedImage();
    QCOMPARE(label.renderCount(), renders + 1);
    QCOMPARE(second.pixelColor(0, 0), QColor(200, 200, 0));
  }

  // With a key, an unchanged key and place skip the backdrop altogether; a new
  // key or a move asks for it again and renders over what it gives.
  void transparentLabelWithABackdropKeyAsksOnlyWhenTheKeyOrPlaceChanges() {
    QImage beneath(400, 100, QImage::Format_RGB32);
    beneath.fill(QColor(10, 40, 120));
    int asked = 0;
    qint64 key = 1;
    TSmoothLabel label;
    label.setTransparent(true);
    label.setCaption(QStringLiteral("特等奖"));
    label.setSmoothFont(heiti(30));
    label.setBackdropProvider(
        [&](const TSmoothLabel& l) {
          ++asked;
          return beneath.copy(l.geometry());
        },
        [&](const TSmoothLabel&) { return key; });
    const QImage first = label.composedImage();
    QCOMPARE(asked, 1);
    const int renders = label.renderCount();
    QCOMPARE(label.composedImage(), first);
    QCOMPARE(asked, 1);
    QCOMPARE(label.renderCount(), renders);

    beneath.fill(QColor(200, 200, 0));
    key = 2;
    QCOMPARE(label.composedImage().pixelColor(0, 0), QColor(200, 200, 0));
    QCOMPARE(asked, 2);
    QCOMPARE(label.renderCount(), renders + 1);

    beneath.setPixelColor(label.width() + 5, 0, Qt::red);
    label.move(label.width() + 5, 0);
    QCOMPARE(label.composedImage().pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(asked, 3);
  }

  void transparentLabelReadsItsParentsPainting() {
    QWidget parent;
    parent.resize(300, 120);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 0));
    parent.setPalette(palette);
    auto* label = new TSmoothLabel(&parent);
    label->move(20, 20);
    label->setTransparent(true);
    label->setCaption(QStringLiteral("抽奖"));
    label->setSmoothFont(heiti(24));
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    const QImage shot = parent.grab().toImage();
    QCOMPARE(shot.pixelColor(21, 21), QColor(0, 128, 0));
    bool textSeen = false;
    for (int x = 20; x < 20 + label->width(); ++x)
      textSeen = textSeen || shot.pixelColor(x, 20 + label->height() / 2).red() > 100;
    QVERIFY(textSeen);
  }

  void dialogEditsACopyAndOnlyOkCopiesBack() {
    TSmoothFontDialog dialog;
    dialog.Effect().Shadow().setAlpha(40);
    dialog.Font() = heiti(30);

    whenDialogShows([](TSmoothFontDlg& dlg) {
      QCOMPARE(dlg.windowTitle(), QStringLiteral("平滑特效字体"));
      QCOMPARE(dlg.findChild<QSpinBox*>("ShadowAlpha")->value(), 40);
      QVERIFY(!dlg.findChild<QSpinBox*>("ShadowAlpha")->isEnabled());
      QVERIFY(!dlg.findChild<QPushButton*>("FontButton")->isVisible());
      dlg.findChild<QSpinBox*>("Blur")->setValue(30);
      QCOMPARE(dlg.effect().Blur(), 30);
      dlg.findChild<QPushButton*>("CancelButton")->click();
    });
    QVERIFY(!dialog.Execute());
    QCOMPARE(dialog.Effect().Blur(), 0);

    dialog.setQuestions({[](int) { return std::optional<int>(255); }, {}, {}, {}});
    dialog.setAllowChangeFont(true);
    whenDialogShows([](TSmoothFontDlg& dlg) {
      QVERIFY(dlg.findChild<QPushButton*>("FontButton")->isVisible());
      dlg.findChild<QCheckBox*>("ShadowEnabled")->setChecked(true);
      QVERIFY(dlg.findChild<QSpinBox*>("ShadowAlpha")->isEnabled());
      dlg.findChild<QPushButton*>("ShadowColor")->click();
      dlg.findChild<QSpinBox*>("Angle")->setValue(-30);
      dlg.findChild<QPushButton*>("OkButton")->click();
    });
    QVERIFY(dialog.Execute());
    QVERIFY(dialog.Effect().Shadow().Enabled());
    QCOMPARE(dialog.Effect().Shadow().Color(), 255);
    QCOMPARE(dialog.Effect().Shadow().Alpha(), 40);
    QCOMPARE(dialog.Effect().Angle(), -30);
    QCOMPARE(dialog.Font(), heiti(30));
  }

  void scrollTextPausesScrollsAndCompletes() {
    TSmoothScrollText scroll;
    QSignalSpy ready(&scroll, &TSmoothScrollText::OnTextReady);
    QSignalSpy complete(&scroll, &TSmoothScrollText::OnComplete);
    scroll.setActive(false);
    scroll.resize(200, 300);
    TScrollTextParam text;
    text.Lines = {toGbk(QStringLiteral("张三  李四")), toGbk(QStringLiteral("王五"))};
    text.Font = heiti(16);
    scroll.setText(text);
    QVERIFY(ready.count() >= 1);
    QCOMPARE(scroll.textImage().height(), 300);  // shorter than the box
    QCOMPARE(scroll.offset(), 0);

    scroll.setRepeatCount(1);
    scroll.setRepeatDelay(1);
    scroll.setScrollStep(7);
    scroll.setScrollDelay(1);
    scroll.setActive(true);
    QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 1, 5000);
    QVERIFY(!scroll.Active());
    QCOMPARE(scroll.offset(), 0);
    QCOMPARE(scroll.passCounter(), -1);
  }

  void scrollTextRunsBackwardsOnTheTickSource() {
    TSmoothScrollText scroll;
    scroll.resize(100, 60);
    TScrollTextParam text;
    text.Lines = {"A", "B", "C"};
    text.Font = heiti(12);
    scroll.setText(text);
    scroll.setRepeatDelay(0);
    scroll.setScrollStep(-1);
    scroll.setScrollDelay(2);
    const int height = scroll.textImage().height();
    QTRY_VERIFY_WITH_TIMEOUT(scroll.offset() > 0 && scroll.offset() < height - 2, 5000);
    const QImage frame = scroll.frameImage();
    QCOMPARE(frame.size(), QSize(100, 60));
    QCOMPARE(frame.pixelColor(50, 0), QColor(255, 255, 255));  // the faded top edge
  }
};

QTEST_MAIN(StyledTextTest)
#include "styledtext_qt_test.moc"
