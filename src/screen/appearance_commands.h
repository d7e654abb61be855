#pragma once
// The commands that change how the draw screen looks, run against the screen
// model: title texts, fonts, effects, centring, prize picture size, show ticks,
// position lock, themes, background and logo. Each asks the operator through the
// dialog service, changes the model, and announces modelChanged() so the window
// renders it again. Errors the operator can meet end up in a message box.
#include <QObject>
#include <filesystem>
#include <functional>

#include "base/config_files.h"
#include "platform/password_store.h"
#include "screen/dialog_service.h"
#include "screen/element_menus.h"
#include "screen/state/screen_model.h"

namespace screen {

class AppearanceCommands : public QObject {
  Q_OBJECT

 public:
  AppearanceCommands(ScreenModel& model, std::filesystem::path programDir, DialogService& dialogs,
                     const platform::PasswordStore& passwords, QObject* parent = nullptr);

  // The desktop width centring uses; the window sets it from its screen.
  void setDesktopWidth(int width) { desktopWidth_ = width; }
  // "字体特效" opens the font-and-effect dialog of the styled text, which the window
  // owns; it sets this hook and the command calls it with the label to edit.
  std::function<void(Label)> editEffects;
  // The exit save (screen::saveOnExit with the window's draw state); the logo
  // change runs it at once.
  std::function<void()> exitSave;

  void editTitle(Label title);
  void chooseFont(Label label);
  void editLabelEffects(Label label);
  // Centres the element horizontally; `width` is its current width in pixels.
  void centre(Element element, int width);
  void resizePrize(PrizeResize step);
  void toggleShowTick(ShowTick tick);
  void togglePositionLock();
  void applyTheme(int index);
  void changeBackground();
  void changeLogo();

  // Records a dragged element's new place in the model.
  void elementMoved(Element element, QPoint to);

 signals:
  void modelChanged();

 private:
  // Runs a command and shows the message of a file or conversion error it raises.
  template <typename Command>
  void guarded(Command&& command);

  ScreenModel& model_;
  std::filesystem::path programDir_;
  DialogService& dialogs_;
  const platform::PasswordStore& passwords_;
  int desktopWidth_ = 1920;
};

// The element menus' requests (content, font, effects, logo, prize size,
// centring) go to `appearance`.
void connectElementMenus(ElementMenus& menus, AppearanceCommands& appearance);

}  // namespace screen
