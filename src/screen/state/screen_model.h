#pragma once
// Everything the draw screen shows, as plain data: the eight styled labels, the
// pictures, the show ticks, the rolling area's frames and the flags of the
// start-up. The loads, saves and layouts change this model; the window only
// renders it and reports drags and commands back. Texts are GBK bytes, as the
// files hold them.
#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "screen/state/geometry.h"
#include "screen/state/label_keys.h"

namespace screen {

// In the order the main settings load and the exit save walk them.
enum class Label { MainTitle, SecTitle, ActionHint, PrizeName, HonorGuest, RateProgress, ItemName, TimeShow };
inline constexpr std::size_t kLabelCount = 8;
inline constexpr std::array<Label, kLabelCount> kAllLabels = {Label::MainTitle, Label::SecTitle,   Label::ActionHint,
                                                              Label::PrizeName, Label::HonorGuest, Label::RateProgress,
                                                              Label::ItemName,  Label::TimeShow};
// The section of a label is its component name.
std::string_view labelSection(Label label);

struct LabelState {
  LabelFont font;
  styledtext::TSmoothEffect effect = styledtext::EffectDefaults::mainWindow().effect();
  Point position;
  std::string caption;
  bool visible = true;
};

// The ten ticks of the screen settings menu, in the order they are saved.
enum class ShowTick {
  MainTitle,
  SecTitle,
  Logo,
  ItemName,
  HonorGuest,
  PrizePicture,
  PrizeName,
  ActionHint,
  RateProgress,
  StartButton
};
inline constexpr std::size_t kShowTickCount = 10;
// GBK key under "界面设置" (nine of the ten say "hide" but store "shown").
const std::string& showTickKey(ShowTick tick);

struct Box {
  Point position;
  Size size;
};

// The font that all text frames share; the big frame takes it too, except for the
// size that the default layout fits to the desktop.
struct FrameFont {
  Colour color = 65535;
  int size = 20;
  std::string name;
  // The files keep colour, size and face only; the style chosen in the font
  // dialog lasts for the run, and a stored layout's font leaves it as it is.
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const FrameFont&) const = default;

  // This font with the stored part (colour, size, face) of `stored`.
  FrameFont withStored(const FrameFont& stored) const {
    FrameFont font = *this;
    font.color = stored.color;
    font.size = stored.size;
    font.name = stored.name;
    return font;
  }
};

inline constexpr int kFrameCount = 30;  // text frames 1..30 and picture frames 1..30

struct RollingArea {
  FrameFont textFont;
  int bigFrameFontSize = 20;
  std::array<Point, kFrameCount> textFrames{};
  Point bigFrame;
  std::array<Point, kFrameCount> pictureFrames{};
  // The picture frames' size in this layout; {0, 0} shows the photo tiles as they are.
  Size pictureFrameSize;
  // Captions of text frames 1..30 and of the big frame (index 30).
  std::array<std::string, kFrameCount + 1> textCaptions{};
  std::array<bool, kFrameCount + 1> textVisible{};
  std::array<bool, kFrameCount> pictureVisible{};
  int namesPerLine = 5;

  void giveFontToAllFrames(const FrameFont& font) {
    textFont = font;
    bigFrameFontSize = font.size;
  }
  void hideTextFrames() { textVisible.fill(false); }
  void hidePictureFrames() { pictureVisible.fill(false); }
};

struct ScreenModel {
  std::array<LabelState, kLabelCount> labels;
  LabelState& label(Label which) { return labels[static_cast<std::size_t>(which)]; }
  const LabelState& label(Label which) const { return labels[static_cast<std::size_t>(which)]; }

  std::array<bool, kShowTickCount> showTicks{};
  bool tick(ShowTick which) const { return showTicks[static_cast<std::size_t>(which)]; }

  std::filesystem::path backgroundFile;  // the picture to stretch over the window
  std::filesystem::path logoFile;        // empty when no logo file exists
  Point logo;
  bool logoVisible = true;
  // The background's and the logo's names as Config.ini keeps them ("背景"/"Picture",
  // "TitlePic"/"TitlePicture"): read by the main settings load, replaced by the
  // picture commands (a bare GBK name), stored back by the exit save under the
  // picture-name rule. Nothing else remembers a chosen picture.
  std::string backgroundName;
  std::string logoName;

  Box prizePicture{{0, 0}, {201, 201}};
  bool prizePictureVisible = true;
  std::filesystem::path prizePictureFile;  // the award's picture; empty shows none

  bool startButtonVisible = true;
  bool pictureLoadButtonVisible = false;

  bool positionLock = false;
  RollingArea rolling;

  // The modes as the menus tick them; the draw engine holds the values it draws by.
  bool textDraw = true;
  bool peopleRolling = true;

  bool resolutionChanged = false;
  bool firstRun = false;

  // The main window's own place, stored by the exit save.
  Point windowPosition;
  Size windowSize{600, 600};
};

}  // namespace screen
