#include "draw/config_keys.h"

namespace draw {

namespace keys {

std::vector<base::KeyRow> rowsOf(std::string_view section) {
  const std::vector<base::KeyRow> all = {
      rowOf(kFirstRun),        rowOf(kTextDraw),         rowOf(kPeopleRolling),
      rowOf(kRollingSpeed),    rowOf(kSpeedRamp),        rowOf(kDrawOrder),
      rowOf(kGroupDisplay),    rowOf(kAwardPreparation), rowOf(kAutoStop),
      rowOf(kAutoStopSeconds), rowOf(kAutoStart),        rowOf(kAutoStartSeconds),
      rowOf(kPrivacyMask),     rowOf(kPrivacyBegin),     rowOf(kPrivacyEnd),
      rowOf(kRepeatWinning),   rowOf(kPredeterminedOn),  rowOf(kOtherSettingsHidden),
      rowOf(kBlacklistOn),     rowOf(kAwardGroupsOn),
  };
  std::vector<base::KeyRow> rows;
  for (const base::KeyRow& row : all)
    if (row.section == section) rows.push_back(row);
  return rows;
}

}  // namespace keys

DrawModes readDrawModes(const base::IniFile& ini) {
  return {readKey(ini, keys::kTextDraw), readKey(ini, keys::kPeopleRolling)};
}

void storeDrawState(base::IniFile& ini, const StoredDrawState& state) {
  base::IniBatch batch(ini);
  writeKey(ini, keys::kTextDraw, state.textDraw);
  writeKey(ini, keys::kPeopleRolling, state.peopleRolling);
  writeKey(ini, keys::kPredeterminedOn, state.predeterminedOn);
  writeKey(ini, keys::kBlacklistOn, state.blacklistOn);
}

}  // namespace draw
