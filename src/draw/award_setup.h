#pragma once
// The award rows as the award settings dialog edits them: the batch rules, the
// normalisation of a row's places and batch size, and the rows' place in
// "奖项设置". The dialog's grid holds the first eight columns of ItemGrid; the
// counts kept by the draw are not part of it.
#include <cstddef>
#include <string>
#include <vector>

#include "base/ini_file.h"

namespace draw::awards {

inline constexpr std::size_t kColumnCount = 8;  // 项次 … 奖品图片
inline constexpr int kMaxPlaces = 100000;
using Row = std::vector<std::string>;  // kColumnCount GBK cells

// Batch size a row falls back to when its own is missing or above its places:
// 1 below 6 places, 3 below 20, 5 below 50, else 10.
int fallbackBatch(int places);
// Batch size of the "默认分批" button: 1 below 10 places, 5 below 20, 10 below
// 50, 20 below 200, else 30.
int defaultBatch(int places);
// "5+5+5+5+3": the batch size repeated, the last term the remainder, adding up
// to the places. Empty for places of 0 or less; requires perBatch >= 1.
std::string batchPlan(int places, int perBatch);

// What the normalisation tells the operator, in the order it happened.
enum class Notice {
  MaxPlaces,        // "最大人数100000."
  BatchAbovePlaces  // "数值必须大于零,且每批人数需小于总名额."
};
// The message of a notice, UTF-8.
const char* noticeText(Notice notice);

// Normalises the places (column 2), batch size (column 3) and batch plan
// (column 4) of one row: places of 0 or less become 1, more than 100000 become
// 100000; a missing batch size or one above the places takes the fallback; the
// plan is rebuilt. A cell of blanks counts as empty (the row format reads an
// empty cell back as " "), and a string of digits too long for an integer counts
// as more than any limit. Other text raises base::ConversionError; the cells
// changed before it stay changed.
std::vector<Notice> normaliseRow(Row& row);
// Sets every row's batch size from defaultBatch(places), then normalises it.
// Raises base::ConversionError for places that are not a number; the rows before
// it stay done.
std::vector<Notice> applyDefaultBatches(std::vector<Row>& rows);

// A new row for serial n named `name`: places "1", batch "1", plan "1".
Row newRow(std::size_t serial, std::string name);

// "奖项设置" key 1, 2, … up to the first missing or empty value, each cut or
// padded to eight cells.
std::vector<Row> loadRows(const base::IniFile& config);

// True when the row has an award name (blanks alone are none).
bool hasName(const Row& row);

// Stores the rows as "奖项设置" keys 1 … n: rows without a name are left out and
// the rows after them take the next key, so the keys stay consecutive (the
// loader stops at the first missing one); every numeric key of the section is
// removed first, so no older row survives above the new last key. Column 0 of
// each stored row is its key. Returns the rows as stored. One rewrite of the file.
std::vector<Row> saveRows(base::IniFile& config, const std::vector<Row>& rows);

// A row of the award settings as the dialog holds it: what it shows and what it
// was read as, so that a row nobody changed is written back exactly as stored
// (with the counts that the supplementary places keep beyond the eighth cell),
// and so that what is kept by serial elsewhere can follow the row when it moves.
struct EditedRow {
  Row cells;               // the eight cells shown
  std::string asRead;      // the stored value; empty for a row added in the dialog
  std::size_t origin = 0;  // the key it was stored under; 0 for a row added in the dialog
};

// True when the shown cells differ from the stored value in anything but the
// serial: the operator changed the row (or it is new).
bool changedSinceRead(const EditedRow& row);

// loadRows with each row's stored value and key.
std::vector<EditedRow> loadEditedRows(const base::IniFile& config);

// Stores the rows as saveRows does, except that a row unchanged since it was
// read keeps its stored value (only its serial follows a move), and carries the
// entries kept by award serial along with the rows that moved or went
// (carryAwardEntries). Returns the rows as now stored, each with its new key as
// origin. One rewrite of the file.
std::vector<EditedRow> saveEditedRows(base::IniFile& config, const std::vector<EditedRow>& rows);

}  // namespace draw::awards
