#include "draw/group_ranges.h"

#include <algorithm>

#include "base/conversion_error.h"
#include "base/delimited_row.h"
#include "draw/config_keys.h"
#include "draw/draw_texts.h"

namespace draw::groups {

namespace {

bool isRangeKey(const std::string& key) {
  if (key.size() < 3 || key[key.size() - 2] != '_') return false;
  const char side = key.back();
  if (side != 'B' && side != 'E' && side != 'b' && side != 'e') return false;
  return std::all_of(key.begin(), key.end() - 2, [](char c) { return c >= '0' && c <= '9'; });
}

std::string trimmedCopy(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

std::string boundKey(const std::string& serial, std::string_view side) {
  std::string key = serial;
  key.append(side);
  return key;
}

}  // namespace

std::vector<AwardRange> loadRanges(const base::IniFile& config) {
  std::vector<AwardRange> ranges;
  for (std::size_t r = 1;; ++r) {
    const std::string key = std::to_string(r);
    const std::string value = config.readString(texts::sectionAwards(), key, "");
    if (value.empty()) break;
    std::vector<std::string> cells = base::readDelimitedRow(value, 2);
    cells.resize(2);
    ranges.push_back({cells[0], cells[1], config.readString(texts::sectionGroups(), boundKey(key, "_B"), ""),
                      config.readString(texts::sectionGroups(), boundKey(key, "_E"), "")});
  }
  return ranges;
}

bool loadSwitch(const base::IniFile& config) { return readKey(config, keys::kAwardGroupsOn); }

void saveRanges(base::IniFile& config, bool groupsOn, const std::vector<AwardRange>& ranges) {
  base::IniBatch batch(config);
  writeKey(config, keys::kAwardGroupsOn, groupsOn);
  for (const std::string& key : config.keys(texts::sectionGroups()))
    if (isRangeKey(key)) config.deleteKey(texts::sectionGroups(), key);
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const std::string serial = std::to_string(i + 1);
    const std::string first = trimmedCopy(ranges[i].first);
    const std::string last = trimmedCopy(ranges[i].last);
    if (!first.empty()) config.writeString(texts::sectionGroups(), boundKey(serial, "_B"), first);
    if (!last.empty()) config.writeString(texts::sectionGroups(), boundKey(serial, "_E"), last);
  }
}

const char* noticeText(Notice notice) {
  switch (notice) {
    case Notice::AboveRoster:
      return "不能超过总人数";
    case Notice::BelowOne:
      return "不能小于1";
    case Notice::Inverted:
      return "序号不能倒挂";
  }
  return "";
}

CellCheck checkCell(const std::string& cell, const std::string& other, bool editingFirst, int rosterSize) {
  CellCheck check{cell, {}};
  int value = base::toInt(cell);
  if (value > rosterSize) {
    check.notices.push_back(Notice::AboveRoster);
    value = rosterSize;
    check.value = std::to_string(value);
  }
  if (value <= 0) {
    check.notices.push_back(Notice::BelowOne);
    value = 1;
    check.value = std::to_string(value);
  }
  const std::string otherText = trimmedCopy(other);
  if (!otherText.empty()) {
    const int otherValue = base::toInt(otherText);
    const int first = editingFirst ? value : otherValue;
    const int last = editingFirst ? otherValue : value;
    if (last < first) {
      check.notices.push_back(Notice::Inverted);
      check.value = otherText;
    }
  }
  return check;
}

}  // namespace draw::groups
