#include "draw/draw_settings.h"

#include <string>

#include "base/delimited_row.h"
#include "base/gbk.h"
#include "draw/config_keys.h"
#include "draw/draw_texts.h"
#include "draw/predetermined_lists.h"

namespace draw {

using base::gbk;

namespace {

void setHeader(Table& table, const std::vector<const char*>& headers) {
  Table::Row row;
  for (const char* header : headers) row.push_back(gbk(header));
  table.setRow(0, std::move(row));
}

void loadEntries(const base::IniFile& ini, const std::string& section, Table& table, const char* refusedHeader) {
  table.setRowCount(0);
  table.setRowCount(2);
  setHeader(table, {"项次", "人员编号", "人员姓名", "奖项编号", refusedHeader, "是否已中"});
  for (std::size_t r = 1;; ++r) {
    std::string value = ini.readString(section, std::to_string(r), "");
    if (value.empty()) break;
    table.setRowCount(r + 1);
    table.setRow(r, base::readDelimitedRow(value, entry::kColumnCount));
    table.setCell(entry::kDrawn, r, "N");
  }
}

// Points every entry at the award that bears its award name now (see
// lists::resolveAward): an entry of an award moved in the settings follows it,
// and one of a deleted award applies to none instead of to whatever award took
// its old serial.
void resolveEntryAwards(Table& entries, const Table& ItemGrid) {
  std::vector<std::string> names;
  for (std::size_t r = 1; r < ItemGrid.rowCount(); ++r) names.push_back(ItemGrid.cell(item::kName, r));
  for (std::size_t r = 1; r < entries.rowCount(); ++r) {
    const lists::Entry entry{entries.cell(entry::kPerson, r), entries.cell(entry::kPersonName, r),
                             entries.cell(entry::kAward, r), entries.cell(entry::kAwardName, r)};
    entries.setCell(entry::kAward, r, lists::resolveAward(entry, names));
  }
}

}  // namespace

void fillAwardTable(const base::IniFile& ini, DrawData& data) {
  Table& grid = data.ItemGrid;
  setHeader(grid, {"项次", "奖项", "总名额", "每次抽取", "分批状况", "奖品名称", "抽奖嘉宾", "奖品图片", "已抽取人数",
                   "不足人数", "弃奖人数", "补奖人数", "内定人数"});
  std::size_t rows = 0;
  for (std::size_t r = 1;; ++r) {
    const std::string key = std::to_string(r);
    std::string value = ini.readString(texts::sectionAwards(), key, "");
    if (value.empty()) break;
    rows = r;
    grid.setRowCount(r + 1);
    grid.setRow(r, base::readDelimitedRow(value, item::kColumnCount));
    grid.setCell(item::kDrawn, r, "0");
    grid.setCell(item::kShortfall, r, "0");
    grid.setCell(item::kGivenUp, r, ini.readString(texts::sectionGivenUp(), key, "0"));
    grid.setCell(item::kSupplementary, r, ini.readString(texts::sectionSupplementary(), key, "0"));
    grid.setCell(item::kPredetermined, r, "0");
  }
  if (rows == 0) {
    grid.setRowCount(1);
    grid.setRowCount(2);
  }
}

void loadPredetermined(const base::IniFile& ini, Table& LuckDetail) {
  loadEntries(ini, texts::sectionPredetermined(), LuckDetail, "奖项名称");
}

void loadBlacklist(const base::IniFile& ini, Table& BlackDetail) {
  loadEntries(ini, texts::sectionBlacklist(), BlackDetail, "拒绝奖项");
}

void loadDrawSettings(const base::IniFile& ini, DrawData& data) {
  DrawSettings& s = data.settings;
  const DrawModes modes = readDrawModes(ini);
  s.textDraw = modes.textDraw;
  s.peopleRolling = modes.peopleRolling;
  s.predeterminedOn = readKey(ini, keys::kPredeterminedOn);
  s.blacklistOn = readKey(ini, keys::kBlacklistOn);
  s.otherSettingsHidden = readKey(ini, keys::kOtherSettingsHidden);

  s.baseRollingInterval = readKey(ini, keys::kRollingSpeed) * 20 + 120;
  s.drawOrder = readKey(ini, keys::kDrawOrder);
  s.groupDisplay = readKey(ini, keys::kGroupDisplay);
  s.awardPreparation = readKey(ini, keys::kAwardPreparation);
  s.awardGroupsOn = readKey(ini, keys::kAwardGroupsOn);
  s.privacyMaskOn = readKey(ini, keys::kPrivacyMask);
  s.speedRamp = readKey(ini, keys::kSpeedRamp);
  s.autoStop = readKey(ini, keys::kAutoStop);
  s.autoStopSeconds = readKey(ini, keys::kAutoStopSeconds);
  s.autoStart = readKey(ini, keys::kAutoStart);
  s.autoStartSeconds = readKey(ini, keys::kAutoStartSeconds);
  s.privacyBegin = readKey(ini, keys::kPrivacyBegin);
  s.privacyEnd = readKey(ini, keys::kPrivacyEnd);
  s.repeatWinning = readKey(ini, keys::kRepeatWinning);

  fillAwardTable(ini, data);
  if (s.predeterminedOn) {
    loadPredetermined(ini, data.LuckDetail);
    resolveEntryAwards(data.LuckDetail, data.ItemGrid);
  }
  if (s.blacklistOn) {
    loadBlacklist(ini, data.BlackDetail);
    resolveEntryAwards(data.BlackDetail, data.ItemGrid);
  }
}

}  // namespace draw
