#pragma once
// A line of news for the operator at the foot of a window (where a file was
// written, for instance) that asks for nothing: it takes no focus and no keys,
// lets the mouse through, and goes by itself after a while or with the next
// note. The draw screen has no status bar, and a message box would stop the next
// key meant for the draw.
#include <QLabel>

class QTimer;

namespace screen {

class StatusNote : public QLabel {
  Q_OBJECT

 public:
  static constexpr int kShownMs = 12000;

  explicit StatusNote(QWidget* window);
  // Shows `text` at the window's bottom left, above everything else in it, for kShownMs.
  void showNote(const QString& text);

 private:
  QTimer* hideTimer_;
};

}  // namespace screen
