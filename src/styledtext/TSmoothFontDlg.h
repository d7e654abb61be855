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

  // What the dialog asks the operator, answered by the caller's dialog service:
  // a colour and a font (given the current one; nothing when cancelled), the
  // texture picture's file (empty when cancelled), and a message.
  struct Questions {
    std::function<std::optional<int>(int color)> color;
    std::function<std::optional<FontRecord>(const FontRecord&)> font;
    std::function<QString()> pictureFile;
    std::function<void(const QString&)> message;
  };
  void setQuestions(Questions questions) { questions_ = std::move(questions); }

 private:
  void showEffect();
  void connectControls();
  void pickColor(int current, const std::function<void(int)>& apply);
  void showSwatches();
  void enableGroups();

  std::unique_ptr<Ui::TSmoothFontDlg> ui_;
  Questions questions_;
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
  void setQuestions(TSmoothFontDlg::Questions questions) { questions_ = std::move(questions); }

  bool Execute(QWidget* parent = nullptr);

 private:
  TSmoothEffect effect_;
  FontRecord font_;
  bool allowChangeFont_ = false;
  TSmoothFontDlg::Questions questions_;
};

}  // namespace styledtext
