#pragma once
// The grey line numbers left of a roster text (Label_Row): 25 consecutive
// numbers from the first visible line on, each level with its line, so the
// operator can count entries while scrolling.
#include <QWidget>

class QPlainTextEdit;

namespace dialogs {

class LineNumberGutter : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kNumbers = 25;

  explicit LineNumberGutter(QWidget* parent = nullptr);
  // The text whose lines are counted; follows its scrolling and edits.
  void setEditor(QPlainTextEdit* editor);
  // Index of the first visible line (0-based) as the numbers show it.
  int firstNumber() const { return first_ + 1; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void follow();

  QPlainTextEdit* editor_ = nullptr;
  int first_ = 0;
};

}  // namespace dialogs
