#pragma once
// What the commands of the element menus and the screen settings menu do to the
// screen model: title texts, centring, prize picture size, show ticks, position
// lock, themes, and taking over a background or logo picture. The window asks the
// operator (input box, file dialog) and renders the model afterwards; everything
// decided here is plain data, so it is tested without a window.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/config_files.h"
#include "screen/state/screen_model.h"

namespace screen {

// ---- Titles ----

enum class TitleEdit { Changed, Unchanged, RefusedEmpty };

// Gives the main title or the subtitle the operator's answer as typed. An answer
// that is only blanks (bytes up to the space, as the platform trims) is refused and
// the title keeps its text: an empty title would vanish from the screen, and hiding
// is what the show ticks are for.
TitleEdit setTitleText(ScreenModel& model, Label title, const std::string& gbkAnswer);

// The message for a refused title (UTF-8); `title` is MainTitle or SecTitle.
std::string_view emptyTitleMessage(Label title);
// Caption of the input box that edits a title (UTF-8).
std::string_view titleInputCaption(Label title);

// ---- Placement ----

// The left edge that centres an element of this width on the desktop.
constexpr int centredLeft(int desktopWidth, int elementWidth) { return half(desktopWidth) - half(elementWidth); }

enum class PrizeResize { HeightUp, HeightDown, WidthUp, WidthDown };
// 10 pixels a step: growing only below 600, shrinking only above 30.
void resizePrizePicture(Box& picture, PrizeResize step);

// ---- Show ticks and lock ----

// Inverts the tick and shows or hides its element(s). The start button's tick
// also governs the picture-load button, but only in picture draw mode.
void toggleShowTick(ScreenModel& model, ShowTick tick);

// ---- Pictures ----

struct Theme {
  const char* item;     // menu item name
  const char* caption;  // UTF-8
  const char* file;     // UTF-8 file name in "backpic"
};
inline constexpr std::array<Theme, 8> kThemes = {{{"N79", "欢度春节", "贺岁.jpg"},
                                                  {"N80", "节日欢庆", "欢庆.jpg"},
                                                  {"N82", "婚礼", "婚礼.jpg"},
                                                  {"N83", "宇宙梦幻", "宇宙梦幻.jpg"},
                                                  {"N84", "浩瀚星空", "浩瀚星空.jpg"},
                                                  {"N85", "舞台", "舞台幕布1.jpg"},
                                                  {"N86", "淡雅蓝调", "淡雅蓝.jpg"},
                                                  {"N87", "圣诞", "圣诞.jpg"}}};

// Makes the theme's picture the background and stores its name under
// "背景"/"Picture" in Config.ini at once (a theme is a deliberate choice that must
// survive a crash). Returns false and changes nothing when the picture is missing.
// Raises base::FileError when Config.ini cannot be written.
bool applyTheme(const base::ConfigFiles& files, ScreenModel& model, const Theme& theme);

// A picture the operator chose for the background or the logo, as it is kept: the
// file now in the program's folder and its bare GBK name.
struct AdoptedPicture {
  std::filesystem::path file;
  std::string gbkName;
};

// Copies `chosen` into `folder` under its own name unless it already lies there,
// so that the bare name stored for it is found at the next start. A file already
// of that name in the folder is replaced. Raises base::FileError when the copy
// fails: the name would otherwise be stored for a picture that is not there.
AdoptedPicture adoptPicture(const std::filesystem::path& chosen, const std::filesystem::path& folder);

// "更换背景&": `chosen` must already have been read as a picture by the caller.
// Adopts it into "backpic", shows it and makes its name the background name
// that the exit save stores.
void changeBackground(const std::filesystem::path& programDir, ScreenModel& model, const std::filesystem::path& chosen);

// Logo "更换图片": adopts the picture into "image", shows it and makes its name
// the logo name; the caller runs the exit save at once afterwards.
void changeLogo(const std::filesystem::path& programDir, ScreenModel& model, const std::filesystem::path& chosen);

}  // namespace screen
