#pragma once
// The draw's keys of Config.ini (SysConfig.ini is its template): where each
// lives and what it reads as while the file lacks it. Every reader and writer
// of these keys takes them from here; so do the tests, and the template
// generator through the printed table of screen/state/config_table.h.
//
// A dialog that shows one of these keys may read it with defaults of its own
// (the award settings dialog does); it still takes the key's name from here.
#include <vector>

#include "base/ini_file.h"
#include "base/ini_key.h"
#include "draw/draw_texts.h"

namespace draw::keys {

inline constexpr base::BoolKey kFirstRun{sections::kRunRecord, "首次运行", false};

// The draw mode (text or pictures) and the rolling mode (people or awards).
inline constexpr base::BoolKey kTextDraw{sections::kWindowStyle, "抽奖模式", true};
inline constexpr base::BoolKey kPeopleRolling{sections::kWindowStyle, "滚动模式", true};

// "界面设置", in the order the template holds them. The rolling speed is a
// position -5 … 5 of the award dialog's track bar (see DrawSettings).
inline constexpr base::IntKey kRollingSpeed{sections::kInterface, "滚动速度", 100};
inline constexpr base::BoolKey kSpeedRamp{sections::kInterface, "滚动速度是否渐变", true};
inline constexpr base::IntKey kDrawOrder{sections::kInterface, "抽奖顺序", 1};
inline constexpr base::BoolKey kGroupDisplay{sections::kInterface, "分组显示名单", true};
inline constexpr base::BoolKey kAwardPreparation{sections::kInterface, "抽奖准备", true};
inline constexpr base::BoolKey kAutoStop{sections::kInterface, "自动抽奖", false};
inline constexpr base::IntKey kAutoStopSeconds{sections::kInterface, "自动抽奖Sec", 10};
inline constexpr base::BoolKey kAutoStart{sections::kInterface, "自动开始", false};
inline constexpr base::IntKey kAutoStartSeconds{sections::kInterface, "自动开始Sec", 10};
inline constexpr base::BoolKey kPrivacyMask{sections::kInterface, "隐私_check", true};
inline constexpr base::IntKey kPrivacyBegin{sections::kInterface, "隐私_begin", 3};
inline constexpr base::IntKey kPrivacyEnd{sections::kInterface, "隐私_end", 4};
inline constexpr base::BoolKey kRepeatWinning{sections::kInterface, "重复中奖", true};

// The switches of the predetermined winners and of the blacklist, and the
// hiding of the other settings' entry.
inline constexpr base::BoolKey kPredeterminedOn{sections::kPredetermined, "Open", false};
inline constexpr base::BoolKey kOtherSettingsHidden{sections::kPredetermined, "Hide", false};
inline constexpr base::BoolKey kBlacklistOn{sections::kBlacklist, "Open", false};

inline constexpr base::BoolKey kAwardGroupsOn{sections::kGroupSwitch, "OpenClassify", true};

// The keys above section by section, each section's keys in the template's order.
std::vector<base::KeyRow> rowsOf(std::string_view section);

}  // namespace draw::keys

namespace draw {

// The draw and rolling modes as stored.
struct DrawModes {
  bool textDraw = true;
  bool peopleRolling = true;
};
DrawModes readDrawModes(const base::IniFile& ini);

// The draw's part of the exit save: the two modes and the predetermined and
// blacklist switches, in this order. Raises base::FileError.
struct StoredDrawState {
  bool textDraw = true;
  bool peopleRolling = true;
  bool predeterminedOn = false;
  bool blacklistOn = false;
};
void storeDrawState(base::IniFile& ini, const StoredDrawState& state);

}  // namespace draw
