#include "screen/TForm1.h"

#include <QPainter>

#include "base/config_files.h"
#include "base/gbk.h"
#include "platform/program_dir.h"
#include "screen/state/background_lookup.h"
#include "ui_TForm1.h"

TForm1::TForm1(std::filesystem::path programDir, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TForm1>()), programDir_(std::move(programDir)) {
  ui->setupUi(this);
  setWindowFlag(Qt::FramelessWindowHint);
  setAttribute(Qt::WA_OpaquePaintEvent);
  loadBackground();
}

TForm1::~TForm1() = default;

void TForm1::loadBackground() {
  std::string stored;
  try {
    stored = base::ConfigFiles(programDir_).openWithFallback().readString(base::utf8ToGbk("背景"), "Picture", "");
  } catch (const std::exception&) {
    // An unreadable configuration leaves the stored name empty: the shipped background is shown.
  }
  backgroundFile_ = screen::findBackgroundPicture(programDir_, stored);
  if (!background_.load(platform::toQString(backgroundFile_))) {
    // Neither the stored picture nor the shipped one could be read: the screen
    // stays black and the rest of the start-up goes on.
    background_ = QImage();
    backgroundFile_.clear();
  }
  update();
}

void TForm1::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (background_.isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect(), background_);
}
