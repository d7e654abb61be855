#pragma once
// What the two result displays share: a borderless dialog over the whole screen
// of the main window, a background picture stretched over it (silver while
// there is none), styled captions composed over that picture, F11 to close, and
// one save of the window's settings however it closes.
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace screen {
class DialogService;
}
namespace styledtext {
class TSmoothLabel;
}

namespace displays {

class DisplayStage : public QDialog {
  Q_OBJECT

 public:
  // The colour question of the displays' menus; tests replace it. Colours are
  // red + 256 × green + 65536 × blue; nothing when cancelled.
  static std::function<std::optional<int>(int current)>& colourQuestion();
  // How the main window runs a display: modally until it closes. Tests that
  // drive the draw screen without looking at the displays replace it.
  static std::function<void(DisplayStage&)>& modalRunner();

  // Stretches `picture` over the window (a null picture shows silver).
  void setBackground(const QImage& picture);
  const QImage& background() const { return background_; }
  // Left of a box of `width` centred on the screen: each half truncated.
  int centredLeft(int width) const { return screen_.width() / 2 - width / 2; }
  const QRect& screenRect() const { return screen_; }

 protected:
  DisplayStage(QRect screen, QWidget* parent);

  // Makes a styled caption compose over the background beneath it.
  void prepareCaption(styledtext::TSmoothLabel* label);
  // The picture the operator chose with the file dialog, copied into `folder` of
  // the program when it lies elsewhere; its bare GBK name in `gbkName`. A null
  // image when cancelled or unreadable (the operator is told which).
  QImage choosePicture(screen::DialogService& dialogs, const std::filesystem::path& programDir, const char* folder,
                       std::string& gbkName);

  // Writes the settings; called once, when the window closes.
  virtual void saveSettings() = 0;

  void done(int result) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void scaleBackground();

  QRect screen_;
  QImage background_;
  QPixmap scaled_;
  bool saved_ = false;
};

// A picture file in the program's folder, or a null image when it does not exist or cannot be read.
QImage loadPictureIfPresent(const std::filesystem::path& programDir, const char* folder, const std::string& gbkName);
// The picture in `file`; a null image for an empty path or an unreadable file.
QImage loadPicture(const std::filesystem::path& file);

}  // namespace displays
