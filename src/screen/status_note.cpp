#include "screen/status_note.h"

#include <QTimer>

namespace screen {

StatusNote::StatusNote(QWidget* window) : QLabel(window), hideTimer_(new QTimer(this)) {
  setObjectName(QStringLiteral("StatusNote"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setWordWrap(true);
  setMargin(8);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(40, 40, 40, 230));
  colours.setColor(QPalette::WindowText, Qt::white);
  setPalette(colours);
  hideTimer_->setSingleShot(true);
  connect(hideTimer_, &QTimer::timeout, this, &QWidget::hide);
  hide();
}

void StatusNote::showNote(const QString& text) {
  setText(text);
  const QWidget* window = parentWidget();
  const int width = std::min(window->width() - 20, std::max(400, fontMetrics().horizontalAdvance(text) + 24));
  setFixedWidth(std::max(width, 100));
  adjustSize();
  move(10, window->height() - height() - 10);
  raise();
  show();
  hideTimer_->start(kShownMs);
}

}  // namespace screen
