#pragma once
// A multi-line text drawn with effects that moves through a fixed box pixel by
// pixel, loops endlessly and fades at its top and bottom edges (the winners
// display's list). Each change lays the lines out; a frame draws only the lines
// in the box (and of a very wide line only the columns on the screen), keeping
// them while they stay in view, so a list of ten thousand winners costs the
// memory of one screen. A text with a background picture is drawn whole into
// one tall image instead, as the picture spans the whole text.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "styledtext/core/scroll_text.h"
#include "styledtext/qt_rasteriser.h"

namespace styledtext {

class TSmoothScrollText : public QWidget {
  Q_OBJECT

 public:
  explicit TSmoothScrollText(QWidget* parent = nullptr);
  ~TSmoothScrollText() override;

  bool Active() const { return active_; }
  void setActive(bool on);
  int ScrollDelay() const { return scrollDelay_; }
  void setScrollDelay(int ms);  // 0 … 65535; changes the speed at once
  int ScrollStep() const { return scrollStep_; }
  void setScrollStep(int pixels);  // positive moves the text up
  int RepeatCount() const { return repeatCount_; }
  void setRepeatCount(int passes);  // 0 is endless
  int RepeatDelay() const { return repeatDelay_; }
  void setRepeatDelay(int ms);  // pause at the start of each pass, 0 … 65535
  bool AutoUpdate() const { return autoUpdate_; }
  void setAutoUpdate(bool on);

  const TScrollTextParam& Text() const { return text_; }
  // Replaces the text and its look; rebuilds the image when AutoUpdate is on.
  void setText(const TScrollTextParam& text);

  // Builds the text image now and shows it from its start.
  void rebuild();
  // One scroll step, as the tick runs it.
  void scrollTick();

  int offset() const { return motion_.offset(); }
  int passCounter() const { return motion_.passCounter(); }
  // The height of the whole text image (what one pass scrolls through).
  int imageHeight() const;
  // The whole text as one image, built when asked for (tests, small texts).
  const Image24& textImage();
  // Lines whose pixels are kept between frames.
  std::size_t keptLines() const { return window_.keptLines(); }
  // The box as the next paint shows it.
  QImage frameImage();
  bool pausing() const { return pauseTimer_.isActive(); }

 signals:
  void OnTextReady();
  void OnPainted();
  void OnComplete();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void syncTick();
  void endPause();

  bool active_ = true;
  int scrollDelay_ = 60;
  int scrollStep_ = 1;
  int repeatCount_ = 0;
  int repeatDelay_ = 2000;
  bool autoUpdate_ = true;
  TScrollTextParam text_;

  QtTextRasteriser rasteriser_;
  std::unique_ptr<SmoothRenderer> renderer_;
  Image24 image_;
  bool wholeImage_ = false;  // image_ holds the current text
  ScrollTextWindow window_;
  Image24 frame_;
  ScrollMotion motion_;
  QTimer pauseTimer_;
  int tickId_ = 0;
  bool rebuilding_ = false;
};

}  // namespace styledtext
