// A text frame keeps the layouts of the names it is given; what it shows and
// the size it takes must be those of drawText at its top-left corner, for one
// line and for the big frame's several, in every font it is given.
#include "screen/rolling_frame.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtTest>

#include "window_test_setup.h"

namespace {

// The frame painted over a plain colour, as the screen shows it.
QImage shown(screen::RollingFrame& frame) {
  QImage image(frame.size(), QImage::Format_RGB32);
  image.fill(QColor(20, 60, 120));
  frame.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

QImage drawn(const QString& text, const QFont& font, const QColor& colour, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(QColor(20, 60, 120));
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignTop, text);
  return image;
}

}  // namespace

class RollingFrameTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void showsWhatDrawTextDrawsInEveryFont() {
    screen::RollingFrame frame;
    const QStringList texts = {QStringLiteral("员工12"), QStringLiteral("张三丰"), QStringLiteral("Li  Xiaolong 李"),
                               QStringLiteral("王五   赵六   \n孙七   周八   \n"), QStringLiteral("员工12")};
    for (const char* family : {"黑体", "宋体"}) {
      for (const int pixels : {27, 40, 70}) {
        QFont font(QString::fromUtf8(family));
        font.setPixelSize(pixels);
        frame.setFrameFont(font, Qt::yellow);
        for (const QString& text : texts) {
          frame.setText(text);
          const QSize expectedSize = QFontMetrics(font).size(0, text);
          QCOMPARE(frame.size(), expectedSize);
          QVERIFY2(shown(frame) == drawn(text, font, Qt::yellow, expectedSize),
                   qPrintable(QStringLiteral("%1 %2 px: %3").arg(QString::fromUtf8(family)).arg(pixels).arg(text)));
        }
      }
    }
  }
};

QTEST_MAIN(RollingFrameTest)
#include "rolling_frame_test.moc"
