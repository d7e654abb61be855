#pragma once
// The font-and-effect dialog ("平滑特效字体"). TSmoothFontDlg is the window: a
// preview drawn with the effect being edited and one group of controls per part
// of the effect. TSmoothFontDialog is what callers use: it copies their effect
// and font into the window, and copies them back only when the operator
// presses OK.
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

namespace Ui {
class TSmoothFontDlg;
}

namespace styledtext {

class TSmoothLabel;

class TSmoothFontDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TSmoothFontDlg(QWidget* parent = nullptr);
  ~TSmoothFontDlg() override;

  void setEffect(const TSmoothEffect& effect);
  const TSmoothEffect& effect() const;
  void setSmoothFont(const FontRecord& font);
  const FontRecord& smoothFont() const;
  void setAllowChangeFont(bool allow);

  TSmoothLabel* preview() const;

  // Stand-ins for the standard choosers, so tests can answer them. Each gets
  // the current value and returns the chosen one, or nothing on cancel.
  static std::function<std::optional<int>(QWidget*, int color)> chooseColor;
  static std::function<std::optional<FontRecord>(QWidget*, const FontRecord&)> chooseFont;
  // Returns the picture file chosen, empty on cancel.
  static std::function<QString(QWidget*)> choosePictureFile;

 private:
  void showEffect();
  void connectControls();
  void pickColor(int current, const std::function<void(int)>& apply);
  void showSwatches();
  void enableGroups();

  std::unique_ptr<Ui::TSmoothFontDlg> ui_;
  bool showing_ = false;
};

// The dialog as a component: properties Effect, Font and AllowChangeFont;
// Execute() returns true on OK, having copied the edited effect and font back.
class TSmoothFontDialog {
 public:
  TSmoothFontDialog();

  TSmoothEffect& Effect() { return effect_; }
  FontRecord& Font() { return font_; }
  bool AllowChangeFont() const { return allowChangeFont_; }
  void setAllowChangeFont(bool allow) { allowChangeFont_ = allow; }

  bool Execute(QWidget* parent = nullptr);

 private:
  TSmoothEffect effect_;
  FontRecord font_;
  bool allowChangeFont_ = false;
};

}  // namespace styledtext
