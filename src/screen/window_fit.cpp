#include "screen/window_fit.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace screen {

QSize roomOnScreen(const QRect& available) {
  return {available.width() - kSideFrames, available.height() - kTitleBarAndPanel};
}

void fitToScreen(QWidget& window, const QRect& available) {
  window.resize(window.size().boundedTo(roomOnScreen(available)));
}

void fitToScreen(QWidget& window) {
  const QWidget* parent = window.parentWidget();
  const QScreen* on = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  if (on != nullptr) fitToScreen(window, on->availableGeometry());
}

}  // namespace screen
