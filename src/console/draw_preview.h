#pragma once
// A live, scaled picture of the draw screen for the console on the laptop. It
// shows the draw screen's own frame, the pixels its window last painted, never a
// second rendering of it, so that what the operator sees is what the audience
// sees. Updates come at most ten times a second and only after the draw screen
// painted something, and only what it painted since the last update is scaled
// again: while names roll that is the rolling area, not the whole screen.
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

namespace console {

class DrawPreview : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kIntervalMs = 100;  // ten updates a second at most

  explicit DrawPreview(QWidget* parent = nullptr);

  // The window to show (the draw screen); null shows nothing. It and every
  // widget it holds now are watched for painting.
  void setSource(QWidget* window);
  // The frame shown now, at the preview's scale; null before the first update.
  const QImage& frame() const { return frame_; }
  // How many frames have been taken since the source was set.
  int updateCount() const { return updates_; }

  QSize sizeHint() const override { return {480, 270}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return width * 9 / 16; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void takeFrame();

  QPointer<QWidget> source_;
  QTimer timer_;
  QImage frame_;
  QRegion painted_;  // what the source painted since the last frame, in its own coordinates
  bool wholeFrame_ = true;
  int updates_ = 0;
};

}  // namespace console
