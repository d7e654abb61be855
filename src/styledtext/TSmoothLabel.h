#pragma once
// A caption the audience sees, drawn smoothed with its effect. Opaque labels
// render once per change into an image and paint by copying it. Transparent
// labels compose over what lies beneath them; the composed layer is kept until
// the caption, font, effect, size or the pixels beneath change, so a repaint
// that changes nothing only compares and copies pixels.
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "styledtext/core/effect.h"
#include "styledtext/core/smooth_renderer.h"
#include "styledtext/core/text_layout.h"
#include "styledtext/qt_rasteriser.h"

namespace styledtext {

class TSmoothLabel : public QWidget {
  Q_OBJECT

 public:
  explicit TSmoothLabel(QWidget* parent = nullptr);
  ~TSmoothLabel() override;

  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);

  // The caption's font (face, size in points, colour, style). Named apart from
  // QWidget::font, which the label does not use.
  const FontRecord& smoothFont() const { return font_; }
  void setSmoothFont(const FontRecord& font);

  bool AutoSize() const { return autoSize_; }
  void setAutoSize(bool on);
  int Border() const { return border_; }
  void setBorder(int pixels);
  // Which sides AutoSize may change, as a docked label's Align.
  TAlign Align() const { return align_; }
  void setAlign(TAlign align);

  // The label parameters (TSmoothFontEffect).
  bool Transparent() const { return transparent_; }
  void setTransparent(bool on);
  TTextLayout Layout() const { return layout_; }
  void setLayout(TTextLayout layout);
  TAlignment Alignment() const { return alignment_; }
  void setAlignment(TAlignment alignment);
  TSmoothQuality Quality() const { return quality_; }
  void setQuality(TSmoothQuality quality);
  int BackColor() const { return backColor_; }
  void setBackColor(int color);
  void setBackGround(std::shared_ptr<const Image24> picture, PictureMode mode = PictureMode::Center);
  // Changes through this reference re-render the label.
  TSmoothEffect& FontEffect() { return effect_; }
  const TSmoothEffect& FontEffect() const { return effect_; }

  // Width and height of the text with its effects (the measured box).
  int TextWidth() const { return textBox_.width; }
  int TextHeight() const { return textBox_.height; }

  // A batch of changes renders once, when the outermost bracket closes.
  void beginUpdate();
  void endUpdate();
  bool AutoUpdate() const { return autoUpdate_; }
  void setAutoUpdate(bool on);

  // What lies beneath a transparent label, in the label's client size. By
  // default the parent's own painting under the label (not its other children).
  using BackdropProvider = std::function<QImage(const TSmoothLabel&)>;
  // A provider may come with a key that changes whenever what it gives could
  // change for a label that stays where it is (a background's cacheKey()): while
  // the key and the label's geometry stay, a repaint reuses the layer without
  // asking for the backdrop and comparing it. Without a key every repaint asks.
  using BackdropKey = std::function<qint64(const TSmoothLabel&)>;
  void setBackdropProvider(BackdropProvider provider, BackdropKey key = {});

  // How many times the pipeline has run; the cache keeps it still on repaints.
  int renderCount() const { return renderCount_; }
  // The image a paint shows (opaque: the rendered image; transparent: the layer
  // over the current backdrop). Used by paintEvent and by tests.
  QImage composedImage();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  template <typename T>
  void store(T& field, T value);
  void changed();
  void render();
  QImage backdrop() const;

  QString caption_;
  FontRecord font_;
  bool autoSize_ = true;
  int border_ = 0;
  TAlign align_ = TAlign::alNone;
  bool transparent_ = false;
  TTextLayout layout_ = TTextLayout::tlTop;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TSmoothQuality quality_ = TSmoothQuality::sqNormal;
  int backColor_ = 0xF0F0F0;
  std::shared_ptr<const Image24> backGround_;
  PictureMode backGroundMode_ = PictureMode::Center;
  TSmoothEffect effect_;

  QtTextRasteriser rasteriser_;
  std::unique_ptr<SmoothRenderer> renderer_;
  TextExtent textBox_;
  LabelGeometry geometry_;
  int updateDepth_ = 0;
  bool autoUpdate_ = true;
  bool pending_ = false;
  bool resizing_ = false;
  int renderCount_ = 0;
  BackdropProvider backdropProvider_;
  BackdropKey backdropKey_;

  QImage opaqueImage_;
  // What the layer was composed over; kept only for a provider without a key.
  QImage cachedBackdrop_;
  QImage cachedLayer_;
  qint64 cachedKey_ = 0;
  QRect cachedGeometry_;
  bool layerValid_ = false;
};

}  // namespace styledtext
