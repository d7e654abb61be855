#include "screen/state/config_keys.h"

#include "styledtext/core/effect_ini.h"

namespace screen {

std::vector<base::KeyRow> configKeyTable() {
  using namespace keys;
  namespace drawKeys = draw::keys;
  std::vector<base::KeyRow> rows = drawKeys::rowsOf(draw::sections::kRunRecord);
  rows.push_back(rowOf(kLastExit));
  for (const base::IntKey& k : {kWindowWidth, kWindowHeight, kWindowX, kWindowY}) rows.push_back(rowOf(k));
  for (base::KeyRow& row : drawKeys::rowsOf(draw::sections::kWindowStyle)) rows.push_back(std::move(row));
  rows.push_back(rowOf(kPositionLock));
  for (const base::KeyRow& row : {rowOf(kBackground), rowOf(kLogo), rowOf(kLogoLeft), rowOf(kLogoTop)})
    rows.push_back(row);
  for (const base::BoolKey& tick : kShowTicks) rows.push_back(rowOf(tick));
  for (base::KeyRow& row : drawKeys::rowsOf(draw::sections::kInterface)) rows.push_back(std::move(row));
  for (const base::TextKey& title : {kMainTitleText, kSecTitleText}) rows.push_back(rowOf(title));
  for (const base::IntKey& k : {kPrizePictureWidth, kPrizePictureHeight, kNamesPerLine}) rows.push_back(rowOf(k));
  for (std::string_view section :
       {draw::sections::kPredetermined, draw::sections::kBlacklist, draw::sections::kGroupSwitch})
    for (base::KeyRow& row : drawKeys::rowsOf(section)) rows.push_back(std::move(row));
  for (const base::TextKey& picture :
       {kWinnersBackground, kWinnersLogo, kPrizeBackground, kRankingBackground, kDetailsBackground})
    rows.push_back(rowOf(picture));
  return rows;
}

std::string templateKeysJson() {
  auto quoted = [](const std::string& text) { return "\"" + text + "\""; };
  std::string json = "{\n  \"Config.ini\": [\n";
  const std::vector<base::KeyRow> rows = configKeyTable();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    json += "    [" + quoted(rows[i].section) + ", " + quoted(rows[i].key) + ", " + quoted(rows[i].fallback) + "]";
    json += i + 1 < rows.size() ? ",\n" : "\n";
  }
  json += "  ],\n  \"effect\": [\n";
  const std::vector<base::KeyRow> effect = styledtext::effectKeyRows("", "", styledtext::EffectDefaults::mainWindow());
  for (std::size_t i = 0; i < effect.size(); ++i) {
    json += "    [" + quoted(effect[i].key) + ", " + quoted(effect[i].fallback) + "]";
    json += i + 1 < effect.size() ? ",\n" : "\n";
  }
  return json + "  ]\n}\n";
}

void storePictureName(base::IniFile& file, const base::TextKey& key, const std::string& gbkName) {
  if (gbkName.size() > 2) writeKey(file, key, gbkName);
}

}  // namespace screen
