#include "screen/display_stage.h"

#include <QContextMenuEvent>
#include <algorithm>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>

#include "screen/dialog_service.h"
#include "screen/picture_files.h"
#include "styledtext/TSmoothLabel.h"

namespace screen {

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);

}  // namespace

DisplayStage::DisplayStage(StageContext context, QWidget* parent) : QDialog(parent), context_(std::move(context)) {
  Q_ASSERT(context_.dialogs != nullptr);
  if (context_.area.isEmpty()) context_.area = QRect(0, 0, 1024, 768);
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setGeometry(context_.area);
}

void DisplayStage::runFullScreen() {
  if (context_.screen != nullptr) setScreen(context_.screen);
  setGeometry(context_.area);
  setWindowModality(context_.modality);
  showFullScreen();
  exec();
}

void DisplayStage::setBackground(const QImage& picture) {
  background_ = picture;
  scaleBackground();
}

void DisplayStage::setStandIn(const QImage& picture) {
  standIn_ = picture;
  scaleBackground();
}

void DisplayStage::scaleBackground() {
  const QImage& source = background_.isNull() ? standIn_ : background_;
  scaled_ = source.isNull() || size().isEmpty()
                ? QPixmap()
                : QPixmap::fromImage(source.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                         .convertToFormat(QImage::Format_RGB32));
  for (auto* label : findChildren<styledtext::TSmoothLabel*>()) label->update();
  update();
}

void DisplayStage::keepOnScreen(QWidget* element) const {
  const QSize screen = context_.area.size();
  element->move(std::max(0, std::min(element->x(), screen.width() - element->width())),
                std::max(0, std::min(element->y(), screen.height() - element->height())));
}

void DisplayStage::prepareCaption(styledtext::TSmoothLabel* label) {
  label->setTransparent(true);
  label->setAutoSize(true);
  label->setBackdropProvider([this](const styledtext::TSmoothLabel& l) {
    if (scaled_.isNull()) {
      QImage silver(l.size(), QImage::Format_RGB888);
      silver.fill(kSilver);
      return silver;
    }
    QImage backdrop = scaled_.copy(l.geometry()).toImage();
    // A picture beneath the caption (the prize picture) shows through it too,
    // rather than a band of the background cut out of the picture.
    QPainter painter(&backdrop);
    for (QObject* child : children()) {
      if (child == static_cast<const QObject*>(&l)) break;  // children are in stacking order: the rest lie above
      const auto* picture = qobject_cast<const QLabel*>(child);
      if (!picture || !picture->isVisible() || picture->pixmap().isNull()) continue;
      if (!picture->geometry().intersects(l.geometry())) continue;
      painter.drawPixmap(QRect(picture->geometry().topLeft() - l.geometry().topLeft(), picture->size()),
                         picture->pixmap());
    }
    return backdrop;
  });
}

bool DisplayStage::chooseCaptionFont(styledtext::TSmoothLabel* caption) {
  const std::optional<styledtext::FontRecord> chosen = dialogs().font(caption->smoothFont());
  if (!chosen) return false;
  caption->setSmoothFont(*chosen);
  return true;
}

bool DisplayStage::editCaptionLook(styledtext::TSmoothLabel* caption) {
  const std::optional<FontAndEffect> chosen = dialogs().fontAndEffect(caption->smoothFont(), caption->FontEffect());
  if (!chosen) return false;
  setCaptionLook(caption, chosen->font, chosen->effect);
  return true;
}

void DisplayStage::setCaptionLook(styledtext::TSmoothLabel* caption, const styledtext::FontRecord& font,
                                  const styledtext::TSmoothEffect& effect, const std::optional<QString>& text) {
  caption->beginUpdate();
  caption->setSmoothFont(font);
  caption->FontEffect().assign(effect);
  if (text) caption->setCaption(*text);
  caption->endUpdate();
}

QImage DisplayStage::choosePicture(const char* folder, std::string& gbkName) {
  const std::optional<ChosenPicture> chosen = chooseAndAdoptPicture(dialogs(), programDir() / folder);
  if (!chosen) return {};
  gbkName = chosen->kept.gbkName;
  return chosen->picture;
}

void DisplayStage::showStoredBackground(const std::string& gbkName) {
  backgroundName_ = gbkName;
  setBackground(loadPictureInFolder(programDir() / "backpic", gbkName));
}

bool DisplayStage::changeBackground() {
  std::string name;
  const QImage picture = choosePicture("backpic", name);
  if (picture.isNull()) return false;
  setBackground(picture);
  backgroundName_ = std::move(name);
  return true;
}

void DisplayStage::contextMenuEvent(QContextMenuEvent* event) {
  if (windowMenu_ != nullptr) windowMenu_->popup(event->globalPos());
}

void DisplayStage::saveOnce() {
  if (saved_) return;
  saved_ = true;
  dialogs().reportFailures([this] { saveSettings(); });
}

void DisplayStage::done(int result) {
  saveOnce();
  QDialog::done(result);
}

void DisplayStage::closeEvent(QCloseEvent* event) {
  // A display that was never shown closes without passing done().
  saveOnce();
  QDialog::closeEvent(event);
}

void DisplayStage::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F11) {
    close();
    return;
  }
  // Escape and Enter would end a dialog; on the projector only F11 does.
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(event);
}

void DisplayStage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (scaled_.isNull())
    painter.fillRect(event->rect(), kSilver);
  else
    painter.drawPixmap(event->rect(), scaled_, event->rect());
}

void DisplayStage::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  scaleBackground();
}

}  // namespace screen
