#include "draw/award_setup.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "base/conversion_error.h"
#include "base/delimited_row.h"
#include "draw/award_moves.h"
#include "draw/draw_data.h"
#include "draw/draw_texts.h"

namespace draw::awards {

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The cell's number; nothing for an empty (or blank) cell. A run of digits too
// long for an int is taken as the largest int: it is above every limit anyway.
std::optional<int> cellNumber(const std::string& cell) {
  const std::string_view text = trimmed(cell);
  if (text.empty()) return std::nullopt;
  if (std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) && text.size() > 9) {
    if (auto value = base::parseInt(text)) return value;
    return std::numeric_limits<int>::max();
  }
  return base::toInt(cell);
}

// The stored value with its first cell (the serial, plain digits) made `serial`.
std::string withSerial(const std::string& stored, std::size_t serial) {
  const std::size_t bar = stored.find('|');
  const std::string first = stored.substr(0, bar);
  if (!first.empty() && first.find_first_not_of("0123456789") == std::string::npos)
    return std::to_string(serial) + (bar == std::string::npos ? std::string() : stored.substr(bar));
  // Not the plain form this program writes: the cells are written anew, every one of them.
  std::vector<std::string> cells = base::readDelimitedRow(stored, 64);
  if (cells.empty()) cells.resize(1);
  cells[0] = std::to_string(serial);
  return base::writeDelimitedRow(cells);
}

std::vector<std::string> namesOf(const std::vector<Row>& rows) {
  std::vector<std::string> names;
  for (const Row& row : rows) names.push_back(row.size() > item::kName ? row[item::kName] : std::string());
  return names;
}

}  // namespace

int fallbackBatch(int places) {
  if (places < 6) return 1;
  if (places < 20) return 3;
  if (places < 50) return 5;
  return 10;
}

int defaultBatch(int places) {
  if (places < 10) return 1;
  if (places < 20) return 5;
  if (places < 50) return 10;
  if (places < 200) return 20;
  return 30;
}

std::string batchPlan(int places, int perBatch) {
  std::string plan;
  if (perBatch < 1) return plan;
  const std::string term = std::to_string(perBatch);
  for (int remaining = places; remaining > 0; remaining -= perBatch) {
    if (!plan.empty()) plan += '+';
    plan += remaining < perBatch ? std::to_string(remaining) : term;
  }
  return plan;
}

const char* noticeText(Notice notice) {
  switch (notice) {
    case Notice::MaxPlaces:
      return "最大人数100000.";
    case Notice::BatchAbovePlaces:
      return "数值必须大于零,且每批人数需小于总名额.";
  }
  return "";
}

std::vector<Notice> normaliseRow(Row& row) {
  row.resize(kColumnCount);
  std::vector<Notice> notices;
  std::string& placesCell = row[item::kPlaces];
  std::string& batchCell = row[item::kBatchSize];

  std::optional<int> places = cellNumber(placesCell);
  if (!places || *places <= 0) {
    places = 1;
    placesCell = std::to_string(*places);
  }
  std::optional<int> batch = cellNumber(batchCell);
  if (!batch || *batch <= 0) {
    batch = fallbackBatch(*places);
    batchCell = std::to_string(*batch);
  }
  if (*places > kMaxPlaces) {
    notices.push_back(Notice::MaxPlaces);
    places = kMaxPlaces;
    placesCell = std::to_string(kMaxPlaces);
  }
  if (*places < *batch) {
    batch = fallbackBatch(*places);
    batchCell = std::to_string(*batch);
    notices.push_back(Notice::BatchAbovePlaces);
  }
  // Counts are stored as plain decimals ("007" would be read the same, but
  // nothing else in the event files looks like that).
  placesCell = std::to_string(*places);
  batchCell = std::to_string(*batch);
  row[item::kBatchPlan] = batchPlan(*places, *batch);
  return notices;
}

std::vector<Notice> applyDefaultBatches(std::vector<Row>& rows) {
  std::vector<Notice> notices;
  for (Row& row : rows) {
    row.resize(kColumnCount);
    const std::optional<int> places = cellNumber(row[item::kPlaces]);
    if (!places) throw base::ConversionError::integer(row[item::kPlaces]);
    row[item::kBatchSize] = std::to_string(defaultBatch(*places));
    const std::vector<Notice> more = normaliseRow(row);
    notices.insert(notices.end(), more.begin(), more.end());
  }
  return notices;
}

Row newRow(std::size_t serial, std::string name) {
  return {std::to_string(serial), std::move(name), "1", "1", "1", "", "", ""};
}

std::vector<Row> loadRows(const base::IniFile& config) {
  std::vector<Row> rows;
  for (std::size_t r = 1;; ++r) {
    const std::string value = config.readString(texts::sectionAwards(), std::to_string(r), "");
    if (value.empty()) break;
    Row row = base::readDelimitedRow(value, kColumnCount);
    row.resize(kColumnCount);
    rows.push_back(std::move(row));
  }
  return rows;
}

bool hasName(const Row& row) { return row.size() > item::kName && !trimmed(row[item::kName]).empty(); }

std::vector<Row> saveRows(base::IniFile& config, const std::vector<Row>& rows) {
  std::vector<Row> stored;
  base::IniBatch batch(config);
  for (const std::string& key : config.keys(texts::sectionAwards()))
    if (texts::isRowKey(key)) config.deleteKey(texts::sectionAwards(), key);
  for (const Row& source : rows) {
    if (!hasName(source)) continue;
    Row row = source;
    row.resize(kColumnCount);
    row[item::kSerial] = std::to_string(stored.size() + 1);
    config.writeString(texts::sectionAwards(), row[item::kSerial], base::writeDelimitedRow(row));
    stored.push_back(std::move(row));
  }
  return stored;
}

bool changedSinceRead(const EditedRow& row) {
  if (row.asRead.empty()) return true;
  Row stored = base::readDelimitedRow(row.asRead, kColumnCount);
  stored.resize(kColumnCount);
  Row shown = row.cells;
  shown.resize(kColumnCount);
  return !std::equal(shown.begin() + 1, shown.end(), stored.begin() + 1);
}

std::vector<EditedRow> loadEditedRows(const base::IniFile& config) {
  std::vector<EditedRow> rows;
  const std::vector<Row> cells = loadRows(config);
  for (std::size_t i = 0; i < cells.size(); ++i)
    rows.push_back({cells[i], config.readString(texts::sectionAwards(), std::to_string(i + 1), ""), i + 1});
  return rows;
}

std::vector<EditedRow> saveEditedRows(base::IniFile& config, const std::vector<EditedRow>& rows) {
  base::IniBatch batch(config);
  const std::vector<std::string> oldNames = namesOf(loadRows(config));
  for (const std::string& key : config.keys(texts::sectionAwards()))
    if (texts::isRowKey(key)) config.deleteKey(texts::sectionAwards(), key);
  std::vector<EditedRow> stored;
  SerialMoves moves;
  std::vector<Row> storedCells;
  for (const EditedRow& source : rows) {
    if (!hasName(source.cells)) continue;
    const std::size_t serial = stored.size() + 1;
    EditedRow row = source;
    row.cells.resize(kColumnCount);
    row.cells[item::kSerial] = std::to_string(serial);
    row.asRead = changedSinceRead(source) ? base::writeDelimitedRow(row.cells) : withSerial(source.asRead, serial);
    config.writeString(texts::sectionAwards(), row.cells[item::kSerial], row.asRead);
    if (source.origin != 0 && source.origin <= oldNames.size()) moves[source.origin] = serial;
    row.origin = serial;
    storedCells.push_back(row.cells);
    stored.push_back(std::move(row));
  }
  carryAwardEntries(config, moves, oldNames, namesOf(storedCells));
  return stored;
}

}  // namespace draw::awards
