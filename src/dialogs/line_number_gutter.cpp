#include "dialogs/line_number_gutter.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace dialogs {

namespace {

QTextBlock firstVisible(const QPlainTextEdit* editor) { return editor->cursorForPosition(QPoint(1, 1)).block(); }

// The line's box in the editor's viewport; the cursor rectangle has the line's height.
QRect lineBox(const QPlainTextEdit* editor, const QTextBlock& block) { return editor->cursorRect(QTextCursor(block)); }

}  // namespace

LineNumberGutter::LineNumberGutter(QWidget* parent) : QWidget(parent) {
  QFont numbers(QStringLiteral("黑体"));
  numbers.setPixelSize(16);
  setFont(numbers);
  setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 6);
}

void LineNumberGutter::setEditor(QPlainTextEdit* editor) {
  editor_ = editor;
  connect(editor, &QPlainTextEdit::updateRequest, this, &LineNumberGutter::follow);
  connect(editor, &QPlainTextEdit::textChanged, this, &LineNumberGutter::follow);
  connect(editor->verticalScrollBar(), &QScrollBar::valueChanged, this, &LineNumberGutter::follow);
  follow();
}

void LineNumberGutter::follow() {
  if (!editor_) return;
  first_ = firstVisible(editor_).blockNumber();
  if (first_ < 0) first_ = 0;
  update();
}

void LineNumberGutter::paintEvent(QPaintEvent*) {
  if (!editor_) return;
  QPainter painter(this);
  painter.setPen(Qt::gray);
  const QWidget* viewport = editor_->viewport();
  const int top = viewport->mapTo(window(), QPoint(0, 0)).y() - mapTo(window(), QPoint(0, 0)).y();
  const int lineHeight = QFontMetrics(editor_->font()).lineSpacing();
  const QTextBlock block = firstVisible(editor_);
  const int y = block.isValid() ? lineBox(editor_, block).top() : 0;
  for (int k = 0; k < kNumbers; ++k) {
    const QRect box(0, top + y + k * lineHeight, width() - 4, lineHeight);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(first_ + 1 + k));
  }
}

}  // namespace dialogs
