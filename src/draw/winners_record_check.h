#pragma once
// What start-up makes of the winners record LuckName.txt before it counts a
// single record. The record is the only lasting record of who won: a line that
// cannot be read, left out silently, frees a place that a winner holds, and a
// record read twice takes a place nobody won. So every line is sorted here, and
// the start-up decides with the operator what becomes of the lines that are not
// whole records (lifecycle.h).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "draw/draw_data.h"

namespace draw {

// One line of the record that is not taken as it stands.
struct RecordFinding {
  std::size_t line = 0;  // 1-based line number in the file
  std::string reason;    // what is wrong, UTF-8
  std::string excerpt;   // the line as a message may quote it (GBK, base::excerptForMessage)
};

struct RecordReading {
  // The records that count, in file order, five cells each.
  std::vector<Table::Row> records;
  // The file as it is to become when the findings are dealt with: the lines of
  // the records that count (damaged ones written clean), in file order.
  std::vector<std::string> lines;

  // Records read from a line whose text is damaged (not GBK, control bytes) but
  // whose roster serial and award serial are plain: they count, so nothing is
  // given twice; their line is written clean when the operator agrees.
  std::vector<RecordFinding> damaged;
  // Lines that hold no record and cannot hide one (fewer than the four "|" of a
  // record): a cut-off line, NUL bytes, foreign text. Setting them aside gives
  // no place or person twice.
  std::vector<RecordFinding> unreadable;
  // Lines that are no readable record but may hide one (two records run into
  // one line, a serial damaged): setting them aside could free a place a winner
  // holds, so the draw must wait until the line is mended by hand.
  std::vector<RecordFinding> unsafe;
  // Whole records of a person who won already while repeat winning is off: the
  // pool never lets that happen, so the first record counts and these are set
  // aside. Blank lines go with them.
  std::vector<RecordFinding> surplus;
  // Records that take an award beyond its places (with the places given up).
  // They count and stay: places lowered after the draw (a supplementary count
  // replaced, the award settings changed) leave real winners beyond them, and
  // with repeat winning on even a line repeated word for word may be one. The
  // award draws nothing more; the operator is told.
  std::vector<RecordFinding> beyondPlaces;

  // Nothing to set aside or mend (records beyond the places may still be there).
  bool whole() const { return damaged.empty() && unreadable.empty() && unsafe.empty() && surplus.empty(); }
  // The operator must agree before the file changes: a damaged or unreadable line.
  bool needsConsent() const { return !damaged.empty() || !unreadable.empty(); }
};

// Sorts the lines of LuckName.txt (its bytes). The award table, the settings
// (repeat winning) and the "弃奖" counts in the award table must be loaded.
RecordReading readWinnersRecord(std::string_view bytes, const DrawData& data);

// The findings of a list as message lines (GBK): "第12行(原因): excerpt", at most
// `shown` of them, then how many more.
std::string describeFindings(const std::vector<RecordFinding>& findings, std::size_t shown = 8);

}  // namespace draw
