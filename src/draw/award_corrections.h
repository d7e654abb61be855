#pragma once
// Corrections of an award after the fact: a winner who gives the prize up, and
// supplementary places added to an award or forming a new one. The dialogs that
// collect the operator's choice call these; the counts persist in Config.ini
// ("弃奖", "补奖", "奖项设置") until a restart of the draw clears them.
#include <cstddef>
#include <optional>
#include <string>

#include "draw/draw_data.h"
#include "draw/event_folder.h"

namespace draw {

struct GiveUpChoice {
  std::size_t recordRow = 0;   // the selected record's row in LuckNameGrid
  bool returnToPool = true;    // "弃奖人回归奖池"
  bool drawPlaceAgain = true;  // "弃奖自动补奖"
};

// Removes exactly the selected record (its roster serial and award serial),
// takes it off its award's drawn count, counts a lost place in "弃奖" unless the
// place is drawn again, makes the person eligible again when asked, and
// rewrites LuckName.txt. A record whose award or person names no row is still
// removed; the counts and marks of rows that do not exist are left alone.
// Returns false (nothing changed) when recordRow is not a record. A file that
// cannot be written raises base::FileError with nothing changed, neither the
// tables nor the files (paired_writes.h).
bool giveUp(DrawData& data, const EventFolder& folder, const GiveUpChoice& choice);

struct SupplementaryRequest {
  std::string awardText;      // the combo text: an award name, or the name of a new award (GBK)
  std::size_t chosenRow = 0;  // award row of the list's chosen item; 0 when none
  std::string countText;      // "补奖个数" as typed
  std::string prizeName;      // prize of a new award (GBK)
};

// Confirms a supplementary draw. Returns the message to show (GBK):
// "补奖完成" on success, "补奖个数必须大于零" for a count that is empty or not
// positive, and "请选择或输入补奖奖项" for an empty award text. A count of digits
// too large for a number raises base::ConversionError.
std::string supplementary(DrawData& data, const EventFolder& folder, const SupplementaryRequest& request);

}  // namespace draw
