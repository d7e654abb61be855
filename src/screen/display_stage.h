#pragma once
// The stage every full-screen display stands on: the winners, prize, ranking
// and score details displays. A borderless modal window shown full screen on the
// main window's screen (DialogService::runDisplay opens it), a background
// picture stretched over it, styled captions composed over that picture, F11 to
// close, and one save of the display's settings however it closes. The
// questions a display asks go through the main window's dialog service, which
// parents them to the display while it is up, so that an error box never brings
// the draw screen to the front over the display.
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

class QMenu;
class QScreen;

namespace styledtext {
class TSmoothLabel;
}

namespace screen {

class DialogService;

// What every display takes from the main window that opens it.
struct StageContext {
  std::filesystem::path programDir;
  DialogService* dialogs = nullptr;      // required: the main window's service
  QScreen* screen = nullptr;             // the main window's screen; null: the primary screen
  QRect area;                            // the desktop the display lays itself out on (the screen's)
  std::function<bool()> positionLocked;  // the main window's position lock; none: unlocked
  // Modal to the whole program; with a console on the laptop, modal to the draw
  // screen only, so that the console's button can close the display.
  Qt::WindowModality modality = Qt::ApplicationModal;
};

class DisplayStage : public QDialog {
  Q_OBJECT

 public:
  // Shows the display full screen on its screen, modal, and waits until it
  // closes. Called by DialogService::runDisplay, which tests can answer instead.
  void runFullScreen();

  DialogService& dialogs() const { return *context_.dialogs; }
  const std::filesystem::path& programDir() const { return context_.programDir; }
  const QRect& screenRect() const { return context_.area; }
  // Left of a box of `width` centred on the screen: each half truncated.
  int centredLeft(int width) const { return context_.area.width() / 2 - width / 2; }
  bool positionLocked() const { return context_.positionLocked && context_.positionLocked(); }

  // Stretches `picture` over the window; a null picture shows the stand-in.
  void setBackground(const QImage& picture);
  const QImage& background() const { return background_; }

 protected:
  DisplayStage(StageContext context, QWidget* parent);

  // What shows while there is no background: silver unless a display gives a picture.
  void setStandIn(const QImage& picture);
  // Moves an element placed for a larger screen (or above or left of this one)
  // so that it stands whole on this screen, as near its place as it can.
  void keepOnScreen(QWidget* element) const;
  // Makes a styled caption compose over the background beneath it.
  void prepareCaption(styledtext::TSmoothLabel* label);
  // Sets up the window from its .ui file as a borderless window over the screen.
  template <typename Form>
  void setUpForm(Form& form) {
    form.setupUi(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setGeometry(context_.area);
  }
  // "字体设置" and "字体特效" of a caption: the font dialog, or the font-and-effect
  // dialog, with the caption's look; on OK the caption takes what was chosen.
  // True when it did.
  bool chooseCaptionFont(styledtext::TSmoothLabel* caption);
  bool editCaptionLook(styledtext::TSmoothLabel* caption);
  // Gives a caption a font and an effect, and a text when one is given, in one render.
  static void setCaptionLook(styledtext::TSmoothLabel* caption, const styledtext::FontRecord& font,
                             const styledtext::TSmoothEffect& effect, const std::optional<QString>& text = {});

  // The picture the operator chooses in `folder` of the program ("backpic",
  // "image"), copied there when it lies elsewhere; its bare GBK name in `gbkName`.
  // A null image when cancelled, unreadable or not adoptable (the operator is told).
  QImage choosePicture(const char* folder, std::string& gbkName);
  // The background by the name the display's settings file keeps for it (in
  // "backpic"): what outlives the window is the file's, so the display reads the
  // name when it opens, "更换背景" replaces it, and the display's save stores
  // backgroundName(). Shows the picture of that name, or the stand-in when there
  // is none or it cannot be read, and takes the name as it is.
  void showStoredBackground(const std::string& gbkName);
  const std::string& backgroundName() const { return backgroundName_; }
  // "更换背景": a picture chosen that way in "backpic" becomes the background and
  // its bare GBK name the background name. False when none was taken.
  bool changeBackground();
  // The menu a right click on the window itself (not on an element) opens.
  void setWindowMenu(QMenu* menu) { windowMenu_ = menu; }

  // Stops the display's timers and writes its settings; called once, when the window closes.
  virtual void saveSettings() = 0;

  void done(int result) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void saveOnce();
  void scaleBackground();

  StageContext context_;
  QImage background_;
  std::string backgroundName_;
  QImage standIn_;
  QPixmap scaled_;
  QMenu* windowMenu_ = nullptr;
  bool saved_ = false;
};

}  // namespace screen
