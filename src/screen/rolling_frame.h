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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void fitToText();

  QString text_;
  QFont font_;
  QString fontKey_;  // font_.key(), for the kept text sizes
  QColor color_{Qt::yellow};
};

class PictureFrame : public QWidget {
  Q_OBJECT

 public:
  explicit PictureFrame(QWidget* parent = nullptr);

  // The tile stays owned by its list; null clears the frame. The frame keeps the
  // size the layout gives it and shows the tile scaled to it.
  void setTile(const QImage* tile);
  const QImage* tile() const { return tile_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* tile_ = nullptr;
};

}  // namespace screen
