#pragma once
// The font dialog of every "字体设置": face, style, size, underline, strike-out
// and a colour list (the sixteen basic colours and "自定义…"), with a preview in
// Chinese and Latin. It works on the stored form of a font, so a caller gives
// the element's font and gets back what the files keep; the character set is
// passed through untouched.
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "styledtext/core/font_record.h"

namespace Ui {
class FontDialog;
}

namespace styledtext {

class FontDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FontDialog(const styledtext::FontRecord& initial, QWidget* parent = nullptr);
  ~FontDialog() override;

  // The font as the controls show it now.
  styledtext::FontRecord font() const;

  // "自定义…" asks this for a colour in the stored form, given the current one;
  // nothing means cancelled. The caller's dialog service answers it.
  using ColourQuestion = std::function<std::optional<int>(int current)>;

  // Opens the dialog modally; nothing when cancelled.
  static std::optional<styledtext::FontRecord> choose(QWidget* parent, const styledtext::FontRecord& initial,
                                                      ColourQuestion colour);

  void setCustomColourChooser(ColourQuestion chooser) { chooseCustom_ = std::move(chooser); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fillLists();
  void showFont(const styledtext::FontRecord& font);
  void selectColour(int stored);
  void colourActivated(int index);
  void faceTyped(const QString& text);
  void sizeTyped(const QString& text);
  void updatePreview();

  std::unique_ptr<Ui::FontDialog> ui_;
  styledtext::FontRecord initial_;
  ColourQuestion chooseCustom_;
  int lastColourIndex_ = 0;
};

}  // namespace styledtext
