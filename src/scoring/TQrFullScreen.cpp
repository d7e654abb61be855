#include "scoring/TQrFullScreen.h"

#include <QKeyEvent>

#include "scoring/web/qr_code.h"
#include "ui_TQrFullScreen.h"

namespace scoring {

TQrFullScreen::TQrFullScreen(std::vector<JudgeLink> links, int first, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TQrFullScreen>()), links_(std::move(links)) {
  ui->setupUi(this);
  QFont big = font();
  big.setPixelSize(48);
  big.setBold(true);
  ui->nameLabel->setFont(big);
  QFont small = font();
  small.setPixelSize(22);
  ui->linkLabel->setFont(small);
  ui->hintLabel->setFont(small);
  show(first);
}

TQrFullScreen::~TQrFullScreen() = default;

void TQrFullScreen::show(int index) {
  if (links_.empty()) return;
  shown_ =
      (index % static_cast<int>(links_.size()) + static_cast<int>(links_.size())) % static_cast<int>(links_.size());
  const JudgeLink& judge = links_[static_cast<std::size_t>(shown_)];
  ui->nameLabel->setText(QStringLiteral("评委:%1").arg(judge.name));
  ui->linkLabel->setText(judge.link);
  const int side = std::max(100, std::min(width(), height()) - 260);
  QImage code = web::qrCodeImage(judge.link, 1);
  if (!code.isNull())
    ui->codeLabel->setPixmap(QPixmap::fromImage(code.scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation)));
}

void TQrFullScreen::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Down || event->key() == Qt::Key_Space)
    show(shown_ + 1);
  else if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Up)
    show(shown_ - 1);
  else
    QDialog::keyPressEvent(event);
}

void TQrFullScreen::mousePressEvent(QMouseEvent*) { accept(); }

void TQrFullScreen::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  show(shown_);
}

}  // namespace scoring
