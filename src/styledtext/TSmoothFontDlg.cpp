#include "styledtext/TSmoothFontDlg.h"

#include <QImageReader>

#include "base/gbk.h"
#include "platform/image_files.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/qt_rasteriser.h"
#include "ui_TSmoothFontDlg.h"

namespace styledtext {
namespace {

FontRecord previewFont() {
  FontRecord font;
  font.name = base::utf8ToGbk("楷体_GB2312");
  font.size = 14;  // 19 pixels
  return font;
}

}  // namespace

TSmoothFontDlg::TSmoothFontDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TSmoothFontDlg>()) {
  ui_->setupUi(this);
  TSmoothLabel* p = ui_->Preview;
  p->beginUpdate();
  p->setAutoSize(false);
  p->setAlignment(TAlignment::taCenter);
  p->setLayout(TTextLayout::tlCenter);
  p->setBackColor(0xFFFFFF);
  p->setCaption(QStringLiteral("平滑特效字体 Smooth"));
  p->setSmoothFont(previewFont());
  p->endUpdate();
  ui_->FontButton->setVisible(false);
  connectControls();
  showEffect();
}

TSmoothFontDlg::~TSmoothFontDlg() = default;

TSmoothLabel* TSmoothFontDlg::preview() const { return ui_->Preview; }

void TSmoothFontDlg::setEffect(const TSmoothEffect& effect) {
  ui_->Preview->FontEffect().assign(effect);
  showEffect();
}

const TSmoothEffect& TSmoothFontDlg::effect() const { return ui_->Preview->FontEffect(); }

void TSmoothFontDlg::setSmoothFont(const FontRecord& font) { ui_->Preview->setSmoothFont(font); }

const FontRecord& TSmoothFontDlg::smoothFont() const { return ui_->Preview->smoothFont(); }

void TSmoothFontDlg::setAllowChangeFont(bool allow) { ui_->FontButton->setVisible(allow); }

void TSmoothFontDlg::showEffect() {
  const TSmoothEffect& e = effect();
  showing_ = true;
  ui_->ShadowEnabled->setChecked(e.Shadow().Enabled());
  ui_->ShadowBlur->setValue(e.Shadow().Blur());
  ui_->ShadowAlpha->setValue(e.Shadow().Alpha());
  ui_->ShadowOffsetX->setValue(e.Shadow().OffsetX());
  ui_->ShadowOffsetY->setValue(e.Shadow().OffsetY());
  ui_->GradualEnabled->setChecked(e.Gradual().Enabled());
  QRadioButton* styles[] = {ui_->GradualStyle0, ui_->GradualStyle1, ui_->GradualStyle2,
                            ui_->GradualStyle3, ui_->GradualStyle4, ui_->GradualStyle5};
  styles[static_cast<int>(e.Gradual().Style())]->setChecked(true);
  ui_->TextureEnabled->setChecked(e.Texture().Enabled());
  QRadioButton* modes[] = {ui_->TextureMode0, ui_->TextureMode1, ui_->TextureMode2, ui_->TextureMode3};
  modes[static_cast<int>(e.Texture().Mode())]->setChecked(true);
  ui_->Blur->setValue(e.Blur());
  ui_->Alpha->setValue(e.Alpha());
  ui_->Noise->setValue(e.Noise());
  ui_->Spray->setValue(e.Spray());
  ui_->Angle->setValue(e.Angle());
  ui_->Outline->setChecked(e.Outline());
  ui_->HorzMirror->setChecked(e.HorzMirror());
  ui_->VertMirror->setChecked(e.VertMirror());
  showing_ = false;
  showSwatches();
  enableGroups();
}

void TSmoothFontDlg::showSwatches() {
  const TSmoothEffect& e = effect();
  auto paint = [](QPushButton* swatch, int color) {
    swatch->setStyleSheet(QStringLiteral("background-color: %1").arg(qtColour(color).name()));
  };
  paint(ui_->ShadowColor, e.Shadow().Color());
  paint(ui_->GradualStartColor, e.Gradual().StartColor());
  paint(ui_->GradualEndColor, e.Gradual().EndColor());
}

void TSmoothFontDlg::enableGroups() {
  const TSmoothEffect& e = effect();
  for (QWidget* w : {static_cast<QWidget*>(ui_->ShadowBlur), static_cast<QWidget*>(ui_->ShadowAlpha),
                     static_cast<QWidget*>(ui_->ShadowOffsetX), static_cast<QWidget*>(ui_->ShadowOffsetY),
                     static_cast<QWidget*>(ui_->ShadowColor)}) {
    w->setEnabled(e.Shadow().Enabled());
  }
  for (QWidget* w : {static_cast<QWidget*>(ui_->GradualStartColor), static_cast<QWidget*>(ui_->GradualEndColor),
                     static_cast<QWidget*>(ui_->GradualStyle0), static_cast<QWidget*>(ui_->GradualStyle1),
                     static_cast<QWidget*>(ui_->GradualStyle2), static_cast<QWidget*>(ui_->GradualStyle3),
                     static_cast<QWidget*>(ui_->GradualStyle4), static_cast<QWidget*>(ui_->GradualStyle5)}) {
    w->setEnabled(e.Gradual().Enabled());
  }
  for (QWidget* w :
       {static_cast<QWidget*>(ui_->TextureMode0), static_cast<QWidget*>(ui_->TextureMode1),
        static_cast<QWidget*>(ui_->TextureMode2), static_cast<QWidget*>(ui_->TextureMode3),
        static_cast<QWidget*>(ui_->TexturePictureButton), static_cast<QWidget*>(ui_->TextureClearButton)}) {
    w->setEnabled(e.Texture().Enabled());
  }
}

void TSmoothFontDlg::pickColor(int current, const std::function<void(int)>& apply) {
  if (!questions_.color) return;
  if (const std::optional<int> chosen = questions_.color(current)) {
    apply(*chosen);
    showSwatches();
  }
}

void TSmoothFontDlg::connectControls() {
  TSmoothEffect& e = ui_->Preview->FontEffect();
  auto onSpin = [this](QSpinBox* box, std::function<void(int)> apply) {
    connect(box, &QSpinBox::valueChanged, this, [this, apply](int value) {
      if (!showing_) apply(value);
    });
  };
  auto onCheck = [this](QCheckBox* box, std::function<void(bool)> apply) {
    connect(box, &QCheckBox::toggled, this, [this, apply](bool on) {
      if (showing_) return;
      apply(on);
      enableGroups();
    });
  };
  onCheck(ui_->ShadowEnabled, [&e](bool on) { e.Shadow().setEnabled(on); });
  onSpin(ui_->ShadowBlur, [&e](int v) { e.Shadow().setBlur(v); });
  onSpin(ui_->ShadowAlpha, [&e](int v) { e.Shadow().setAlpha(v); });
  onSpin(ui_->ShadowOffsetX, [&e](int v) { e.Shadow().setOffsetX(v); });
  onSpin(ui_->ShadowOffsetY, [&e](int v) { e.Shadow().setOffsetY(v); });
  connect(ui_->ShadowColor, &QPushButton::clicked, this,
          [this, &e] { pickColor(e.Shadow().Color(), [&e](int c) { e.Shadow().setColor(c); }); });

  onCheck(ui_->GradualEnabled, [&e](bool on) { e.Gradual().setEnabled(on); });
  connect(ui_->GradualStartColor, &QPushButton::clicked, this,
          [this, &e] { pickColor(e.Gradual().StartColor(), [&e](int c) { e.Gradual().setStartColor(c); }); });
  connect(ui_->GradualEndColor, &QPushButton::clicked, this,
          [this, &e] { pickColor(e.Gradual().EndColor(), [&e](int c) { e.Gradual().setEndColor(c); }); });
  QRadioButton* styles[] = {ui_->GradualStyle0, ui_->GradualStyle1, ui_->GradualStyle2,
                            ui_->GradualStyle3, ui_->GradualStyle4, ui_->GradualStyle5};
  for (int i = 0; i < 6; ++i) {
    connect(styles[i], &QRadioButton::toggled, this, [this, &e, i](bool on) {
      if (on && !showing_) e.Gradual().setStyleIndex(i);
    });
  }

  onCheck(ui_->TextureEnabled, [&e](bool on) { e.Texture().setEnabled(on); });
  QRadioButton* modes[] = {ui_->TextureMode0, ui_->TextureMode1, ui_->TextureMode2, ui_->TextureMode3};
  for (int i = 0; i < 4; ++i) {
    connect(modes[i], &QRadioButton::toggled, this, [this, &e, i](bool on) {
      if (on && !showing_) e.Texture().setMode(static_cast<PictureMode>(i));
    });
  }
  connect(ui_->TexturePictureButton, &QPushButton::clicked, this, [this, &e] {
    const QString file = questions_.pictureFile ? questions_.pictureFile() : QString();
    if (file.isEmpty()) return;
    QImageReader reader(file);
    platform::useExtensionDecoder(reader);
    const QImage picture = reader.read();
    if (picture.isNull()) {
      if (questions_.message) questions_.message(QStringLiteral("图片读取有错：%1").arg(file));
      return;
    }
    e.Texture().setPicture(std::make_shared<Image24>(toImage24(picture)));
  });
  connect(ui_->TextureClearButton, &QPushButton::clicked, this, [&e] { e.Texture().clearPicture(); });

  onSpin(ui_->Blur, [&e](int v) { e.setBlur(v); });
  onSpin(ui_->Alpha, [&e](int v) { e.setAlpha(v); });
  onSpin(ui_->Noise, [&e](int v) { e.setNoise(v); });
  onSpin(ui_->Spray, [&e](int v) { e.setSpray(v); });
  onSpin(ui_->Angle, [&e](int v) { e.setAngle(v); });
  onCheck(ui_->Outline, [&e](bool on) { e.setOutline(on); });
  onCheck(ui_->HorzMirror, [&e](bool on) { e.setHorzMirror(on); });
  onCheck(ui_->VertMirror, [&e](bool on) { e.setVertMirror(on); });

  connect(ui_->FontButton, &QPushButton::clicked, this, [this] {
    if (!questions_.font) return;
    if (const std::optional<FontRecord> chosen = questions_.font(smoothFont())) setSmoothFont(*chosen);
  });
  connect(ui_->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TSmoothFontDialog::TSmoothFontDialog() : font_(previewFont()) {}

bool TSmoothFontDialog::Execute(QWidget* parent) {
  TSmoothFontDlg dialog(parent);
  dialog.setQuestions(questions_);
  dialog.setSmoothFont(font_);
  dialog.setEffect(effect_);
  dialog.setAllowChangeFont(allowChangeFont_);
  if (dialog.exec() != QDialog::Accepted) return false;
  effect_.assign(dialog.effect());
  font_ = dialog.smoothFont();
  return true;
}

}  // namespace styledtext
