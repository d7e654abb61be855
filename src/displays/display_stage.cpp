#include "displays/display_stage.h"

#include <QColorDialog>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>

#include "base/paths.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "screen/appearance_commands.h"
#include "screen/dialog_service.h"
#include "screen/state/element_commands.h"
#include "styledtext/TSmoothLabel.h"

namespace displays {

std::function<std::optional<int>(int)>& DisplayStage::colourQuestion() {
  static std::function<std::optional<int>(int)> question = [](int current) -> std::optional<int> {
    const QColor chosen = QColorDialog::getColor(QColor(current & 0xFF, (current >> 8) & 0xFF, (current >> 16) & 0xFF));
    if (!chosen.isValid()) return std::nullopt;
    return chosen.red() + 256 * chosen.green() + 65536 * chosen.blue();
  };
  return question;
}

std::function<void(DisplayStage&)>& DisplayStage::modalRunner() {
  static std::function<void(DisplayStage&)> runner = [](DisplayStage& display) { display.exec(); };
  return runner;
}

DisplayStage::DisplayStage(QRect screen, QWidget* parent) : QDialog(parent), screen_(screen) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setGeometry(screen_);
}

void DisplayStage::setBackground(const QImage& picture) {
  background_ = picture;
  scaleBackground();
}

void DisplayStage::scaleBackground() {
  scaled_ = background_.isNull() || size().isEmpty()
                ? QPixmap()
                : QPixmap::fromImage(background_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                         .convertToFormat(QImage::Format_RGB32));
  for (auto* label : findChildren<styledtext::TSmoothLabel*>()) label->update();
  update();
}

void DisplayStage::prepareCaption(styledtext::TSmoothLabel* label) {
  label->setTransparent(true);
  label->setAutoSize(true);
  label->setBackdropProvider([this](const styledtext::TSmoothLabel& l) {
    if (scaled_.isNull()) {
      QImage silver(l.size(), QImage::Format_RGB888);
      silver.fill(QColor(0xC0, 0xC0, 0xC0));
      return silver;
    }
    return scaled_.copy(l.geometry()).toImage();
  });
}

QImage DisplayStage::choosePicture(screen::DialogService& dialogs, const std::filesystem::path& programDir,
                                   const char* folder, std::string& gbkName) {
  const QString name =
      dialogs.openFileName(QString(), platform::toQString(programDir / folder), screen::pictureFilter());
  if (name.isEmpty()) return {};
  QImageReader reader(name);
  platform::useExtensionDecoder(reader);
  reader.setAutoTransform(true);
  QImage picture = reader.read();
  if (picture.isNull()) {
    dialogs.message(QStringLiteral("图片文件读取有错: ") + name);
    return {};
  }
  bool adopted = dialogs.reportFailures([&] {
    const screen::AdoptedPicture kept =
        screen::adoptPicture(std::filesystem::path(name.toStdString()), programDir / folder);
    gbkName = kept.gbkName;
  });
  return adopted ? picture : QImage();
}

void DisplayStage::done(int result) {
  if (!saved_) {
    saved_ = true;
    saveSettings();
  }
  QDialog::done(result);
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
    painter.fillRect(event->rect(), QColor(0xC0, 0xC0, 0xC0));
  else
    painter.drawPixmap(event->rect(), scaled_, event->rect());
}

void DisplayStage::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  scaleBackground();
}

QImage loadPictureIfPresent(const std::filesystem::path& programDir, const char* folder, const std::string& gbkName) {
  if (gbkName.empty()) return {};
  const std::filesystem::path file = base::joinGbk(programDir / folder, gbkName);
  return loadPicture(file);
}

QImage loadPicture(const std::filesystem::path& file) {
  if (file.empty() || !base::isFile(file)) return {};
  QImageReader reader(platform::toQString(file));
  platform::useExtensionDecoder(reader);
  reader.setAutoTransform(true);
  return reader.read();
}

}  // namespace displays
