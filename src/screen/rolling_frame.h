#pragma once
// The frames of the rolling area. A text frame is a caption that sizes itself
// to its text (several lines for the big frame) and draws only its glyphs, so
// the background shows through; a picture frame shows a prepared tile. Both are
// written at every rolling tick, so they only copy what was prepared.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include "screen/photo_tiles.h"

namespace screen {

class RollingFrame : public QWidget {
  Q_OBJECT

 public:
  explicit RollingFrame(QWidget* parent = nullptr);

  void setText(const QString& text);
  const QString& text() const { return text_; }
  void setFrameFont(const QFont& font, const QColor& color);
  const QFont& frameFont() const { return font_; }
  const QColor& frameColour() const { return color_; }
  // The distance from one line's top to the next one's; 0 is the font's own
  // line spacing. The big frame's rows close up this way where they must.
  void setLinePitch(int pitch);
  int linePitch() const { return linePitch_; }
  // The size the frame takes for a text in a font at a line pitch.
  static QSize textSize(const QFont& font, const QString& text, int linePitch);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void fitToText();

  QString text_;
  QFont font_;
  QString fontKey_;  // font_.key(), for the kept text sizes
  QColor color_{Qt::yellow};
  int linePitch_ = 0;
};

// The smallest height in pixels a photo's caption is written at on a picture
// frame made smaller than its tile (9 points at 96 dots per inch), unless the
// caption's own font is smaller.
inline constexpr int kReadableCaptionPixels = 12;

class PictureFrame : public QWidget {
  Q_OBJECT

 public:
  explicit PictureFrame(QWidget* parent = nullptr);

  // The tile and its caption stay owned by their list; a null tile clears the
  // frame, a null caption writes none. The frame keeps the size the layout
  // gives it and shows the tile scaled to it. The caption is written at the
  // tile's bottom edge: in its own font at the tile's size, scaled with the
  // tile on a smaller frame but not below kReadableCaptionPixels, with a
  // one-pixel shadow, and never wider than the frame (a name too long for it
  // at that size is cut short with an ellipsis).
  void setTile(const QImage* tile, const TileCaption* caption = nullptr);
  const QImage* tile() const { return tile_; }
  void setCaptionStyle(const QFont& font, const QColor& colour);
  // The font the caption is written in on this frame.
  QFont captionFontShown() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* tile_ = nullptr;
  const TileCaption* caption_ = nullptr;
  QFont captionFont_;
  QColor captionColour_;
};

}  // namespace screen
