#pragma once
// The screen's keys of Config.ini, beside the draw's (draw/config_keys.h): where
// each lives and what it reads as while the file lacks it; the picture-name
// rule of every window that keeps a picture by name; and Config.ini's one key
// table, the draw's keys and these in the template's order, which the tests
// check the shipped template against and the template generator is given.
#include <array>
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "base/ini_key.h"
#include "draw/config_keys.h"

namespace screen::keys {

inline constexpr base::TextKey kLastExit{draw::sections::kRunRecord, "上次退出时间", ""};

// The main window's place and size, and the position lock of every element.
inline constexpr base::IntKey kWindowWidth{draw::sections::kWindowStyle, "窗体宽", 600};
inline constexpr base::IntKey kWindowHeight{draw::sections::kWindowStyle, "窗体高", 600};
inline constexpr base::IntKey kWindowX{draw::sections::kWindowStyle, "X坐标", 0};
inline constexpr base::IntKey kWindowY{draw::sections::kWindowStyle, "Y坐标", 0};
inline constexpr base::BoolKey kPositionLock{draw::sections::kWindowStyle, "Lock", false};

// The draw screen's background (in "backpic") and logo (in "image"), by name.
inline constexpr base::TextKey kBackground{"背景", "Picture", ""};
inline constexpr base::TextKey kLogo{"TitlePic", "TitlePicture", ""};
inline constexpr base::IntKey kLogoLeft{"TitlePic", "Left", 50};
inline constexpr base::IntKey kLogoTop{"TitlePic", "Top", 50};

// The titles' texts, the prize picture's size and the names per line of the
// big frame: the exit save and the layouts both store them.
inline constexpr base::TextKey kMainTitleText{"MainTitle", "主标题", ""};
inline constexpr base::TextKey kSecTitleText{"SecTitle", "副标题", ""};
inline constexpr base::IntKey kPrizePictureWidth{"PrizePic", "W", 300};
inline constexpr base::IntKey kPrizePictureHeight{"PrizePic", "H", 300};
inline constexpr base::IntKey kNamesPerLine{"L31", "RowCountPcs", 5};

// The ten show ticks of the screen settings menu, in ShowTick order (nine of
// the ten say "hide" but store "shown").
inline constexpr std::array<base::BoolKey, 10> kShowTicks = {{
    {draw::sections::kInterface, "隐藏主标题", true},
    {draw::sections::kInterface, "隐藏副标题", true},
    {draw::sections::kInterface, "隐藏LOGO图片", true},
    {draw::sections::kInterface, "奖项名称", true},
    {draw::sections::kInterface, "隐藏抽奖嘉宾", true},
    {draw::sections::kInterface, "隐藏奖品图片", true},
    {draw::sections::kInterface, "隐藏奖品名称", true},
    {draw::sections::kInterface, "隐藏说明文字", true},
    {draw::sections::kInterface, "隐藏抽奖预告", true},
    {draw::sections::kInterface, "隐藏按钮", true},
}};

// The displays' backgrounds (in "backpic") and the winners display's logo (in "image"), by name.
inline constexpr base::TextKey kWinnersBackground{"ShowTitlePic", "Picture", ""};
inline constexpr base::TextKey kWinnersLogo{"ShowTitlePic", "TitlePicture", ""};
inline constexpr base::TextKey kPrizeBackground{"ShowPrizeName", "Picture", ""};
inline constexpr base::TextKey kRankingBackground{"评分展示", "背景图片", ""};
inline constexpr base::TextKey kDetailsBackground{"评分细节", "背景图片", ""};

}  // namespace screen::keys

namespace screen {

// Config.ini's keys of both tables, section by section in the order the shipped
// template holds them; within a section the template may hold further keys
// (those of the layouts, the fonts and the effects) after these.
std::vector<base::KeyRow> configKeyTable();

// The key tables as the template generator (scripts/make_dist.py) reads them,
// printed by template_keys into scripts/build/template_keys.json: JSON, UTF-8, with
// "Config.ini" as [section, key, default] rows of configKeyTable() and "effect"
// as [key, default] rows of the 19 effect keys with the main window's defaults.
std::string templateKeysJson();

// The picture-name rule of the draw screen and the winners and prize displays:
// a picture name reaches the file only when it is longer than two bytes, so a
// window that holds none (or a stray byte or two) leaves the stored name as it
// is. Raises base::FileError.
void storePictureName(base::IniFile& file, const base::TextKey& key, const std::string& gbkName);

}  // namespace screen
