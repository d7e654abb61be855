#pragma once
// Everything the draw knows while the program runs: the draw tables, the roster
// lines, the settings read from the event's configuration and the state of the
// draw in progress. One DrawData lives as long as the main window; every engine
// operation takes it by reference, and the dialogs read and change its tables
// between commands.
//
// All texts are GBK bytes, as in the files; counts are decimal text and are
// converted when used, so a damaged count raises base::ConversionError at the
// moment an operation needs it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "draw/random_source.h"
#include "draw/table.h"

namespace draw {

// Columns of the award table ItemGrid; the row index is the award serial.
namespace item {
inline constexpr std::size_t kSerial = 0;          // 项次
inline constexpr std::size_t kName = 1;            // 奖项
inline constexpr std::size_t kPlaces = 2;          // 总名额
inline constexpr std::size_t kBatchSize = 3;       // 每次抽取
inline constexpr std::size_t kBatchPlan = 4;       // 分批状况
inline constexpr std::size_t kPrize = 5;           // 奖品名称
inline constexpr std::size_t kGuest = 6;           // 抽奖嘉宾
inline constexpr std::size_t kPicture = 7;         // 奖品图片
inline constexpr std::size_t kDrawn = 8;           // 已抽取人数
inline constexpr std::size_t kShortfall = 9;       // 不足人数
inline constexpr std::size_t kGivenUp = 10;        // 弃奖人数
inline constexpr std::size_t kSupplementary = 11;  // 补奖人数
inline constexpr std::size_t kPredetermined = 12;  // 内定人数
inline constexpr std::size_t kColumnCount = 13;
}  // namespace item

// Columns of the full roster AllNameList and of the working roster AllNameGrid.
namespace person {
inline constexpr std::size_t kSerial = 0;       // 固定序号 / 滚动序号
inline constexpr std::size_t kName = 1;         // 姓名
inline constexpr std::size_t kDisplayName = 2;  // 显示姓名
inline constexpr std::size_t kFlag = 3;         // 是否已中奖 (full) / 标记位 (working)
inline constexpr std::size_t kColumnCount = 4;
}  // namespace person

// Columns of the winners table LuckNameGrid (no header texts).
namespace winner {
inline constexpr std::size_t kSerial = 0;
inline constexpr std::size_t kName = 1;
inline constexpr std::size_t kDisplayName = 2;
inline constexpr std::size_t kAwardName = 3;
inline constexpr std::size_t kAwardSerial = 4;
inline constexpr std::size_t kColumnCount = 5;
}  // namespace winner

// Columns of the predetermined winners LuckDetail and the blacklist BlackDetail.
namespace entry {
inline constexpr std::size_t kNumber = 0;      // 项次
inline constexpr std::size_t kPerson = 1;      // 人员编号
inline constexpr std::size_t kPersonName = 2;  // 人员姓名
inline constexpr std::size_t kAward = 3;       // 奖项编号 ("0" in the blacklist: every award)
inline constexpr std::size_t kAwardName = 4;   // 奖项名称 / 拒绝奖项
inline constexpr std::size_t kDrawn = 5;       // 是否已中
inline constexpr std::size_t kColumnCount = 6;
}  // namespace entry

// The draw switches and values read from the configuration (defaults as the
// loader gives them when a key is missing).
struct DrawSettings {
  bool textDraw = true;       // draw mode: text draw, else picture draw
  bool peopleRolling = true;  // rolling mode: people rolling, else award rolling
  bool predeterminedOn = false;
  bool blacklistOn = false;
  bool otherSettingsHidden = false;
  bool awardGroupsOn = true;
  bool repeatWinning = true;
  bool privacyMaskOn = true;
  int privacyBegin = 3;
  int privacyEnd = 4;
  int drawOrder = 1;  // 0: first award row down; 1: last row up
  bool awardPreparation = true;
  bool groupDisplay = true;
  int baseRollingInterval = 100 * 20 + 120;  // milliseconds
  bool speedRamp = true;
  bool autoStop = false;
  int autoStopSeconds = 10;
  bool autoStart = false;
  int autoStartSeconds = 10;
};

// The state of the draw in progress; none of it is persisted.
struct DrawState {
  std::string currentAward;     // award serial as text, empty when no award has places
  std::string lastLoggedAward;  // award whose header block the draw log holds last
  std::string shownAward;       // award of the winners display, "0" for all
  // The winners display's award order switch: a choice for the run, never stored.
  bool winnersLastToFirst = false;
  int batchSize = 0;
  int pendingPredetermined = 0;
  int groupFirst = 1;
  int groupLast = 0;
  int singleAwardTarget = 0;  // 0 normal order, > 0 award serial, −1 that award was finished
  std::vector<std::string> rollingNumbers;
  int countdown = 0;
  bool changed = false;  // a setup dialog changed data the draw depends on
  // Why a draw log line of the running batch could not be written; raised once
  // the batch's winner records are on disk, so a full log never costs a record.
  std::string logFailure;
  // Why no batch may be drawn now (GBK, the whole message for the operator);
  // empty when one may. Start-up sets it first and clears it only once the
  // winners record is loaded whole: a draw on a record that was not read would
  // give places and people that the record already holds a second time.
  std::string drawBlocked;

  // What the working roster was last built from, so that a start whose build
  // would give the same rows keeps them: the full roster's revision, the group
  // range and the people the marks single out (roster serials folded for
  // comparison, sorted). The award is not part of it: awards of the same range
  // and the same marks have the same pool. A stop that takes its winners out of
  // the pool and puts back those who stay eligible (repeat winning on) leaves
  // the pool equal to a fresh build and says so here.
  struct PoolBuild {
    std::uint64_t roster = 0;
    int first = 0;
    int last = -1;
    std::vector<std::string> thisAward;   // predetermined for the award, not yet drawn: "Y"
    std::vector<std::string> otherAward;  // predetermined for another award, not yet drawn: "N"
    std::vector<std::string> barred;      // blacklisted for the award or for every award: "N"
    std::uint64_t pool = 0;               // the pool's revision when it was as built
    bool operator==(const PoolBuild&) const = default;
  };
  PoolBuild poolBuild;
  // The pool's revision right after a pick from a pool that was as built, and
  // the roster serials of every row the pick moved; 0 and empty otherwise.
  std::uint64_t pickedFromBuild = 0;
  std::vector<std::string> movedByPick;
  // A build ahead of the next start writes over the working roster: whether it
  // had no data row before (the last batch took the last candidates, which the
  // award choice asks), valid while the working roster keeps the revision the
  // build ahead left.
  struct PoolBeforeAhead {
    bool empty = false;
    std::uint64_t revisionAfter = 0;
  };
  PoolBeforeAhead poolBeforeAhead;
};

class DrawData {
 public:
  DrawData();

  Table ItemGrid{item::kColumnCount, 2};
  Table AllNameList{person::kColumnCount};
  Table AllNameGrid{person::kColumnCount};
  Table LuckNameGrid{winner::kColumnCount, 2};  // the last row is always an empty spare row
  Table LuckDetail{entry::kColumnCount, 2};
  Table BlackDetail{entry::kColumnCount, 2};
  Table OderList{1};
  std::vector<std::string> FirstName;  // the raw roster lines

  DrawSettings settings;
  DrawState state;
  RandomSource random;

  // Award rows are 1 … awardRowCount(); award serials outside that name no award.
  std::size_t awardRowCount() const { return ItemGrid.rowCount() - 1; }
  bool isAwardRow(long long serial) const { return serial >= 1 && serial <= static_cast<long long>(awardRowCount()); }
  // The count cell converted; raises base::ConversionError for text that is not a number.
  int count(std::size_t row, std::size_t column) const;
  void setCount(std::size_t row, std::size_t column, int value);
  void addToCount(std::size_t row, std::size_t column, int delta);
  // 总名额 + 补奖人数.
  int places(std::size_t row) const;
  // 总名额 + 补奖人数 − 已抽取人数 − 不足人数 − 弃奖人数; finished when ≤ 0.
  int remaining(std::size_t row) const;
  // 总名额 − 已抽取人数 − 弃奖人数 + 补奖人数: the shortfall keeps its tickets.
  int ticketCount(std::size_t row) const;

  std::size_t rosterSize() const { return AllNameList.rowCount() - 1; }
  bool isRosterRow(long long serial) const { return serial >= 1 && serial <= static_cast<long long>(rosterSize()); }

  // Winner records are rows 1 … winnerCount() of LuckNameGrid.
  std::size_t winnerCount() const { return LuckNameGrid.rowCount() - 2; }
  bool hasWinners() const { return LuckNameGrid.rowCount() > 2; }
  // Fills the spare row with the record and adds a new spare row.
  void appendWinner(Table::Row record);
  // Empties the winners table to its spare row.
  void clearWinners();
};

// The winners record line of a record: its five cells joined by "|", unquoted.
std::string winnerRecordLine(const Table::Row& record);
std::string winnerRecordLine(const Table& winners, std::size_t row);

}  // namespace draw
