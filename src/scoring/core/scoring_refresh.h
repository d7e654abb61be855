#pragma once
// One reading of the scoring file as both displays do it every second: one parse
// serves the averages of every programme, their ranks and the current programme
// with its marks and result line. A text that is not a number stops the reading
// where it stands, as the displays' messages say; what was computed before stays
// in the result.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "scoring/core/programme_lists.h"
#include "scoring/core/scoring_file.h"

namespace scoring {

// The lists and settings a display works with.
struct ScoringInputs {
  std::vector<Programme> programmes;
  std::vector<std::string> judges;
  DropRules drops;
  std::filesystem::path scoringFile;  // as configured (configuredScoringFile)
};
// Reads the lists, the display drop rules and the configured file path from Config.ini.
ScoringInputs readInputs(const base::IniFile& config, const std::filesystem::path& programDir);

struct JudgeLine {
  std::string name;
  std::string score;  // as read, trimmed; empty when not scored
  std::string mark;   // "Max", "Min" or empty
};

struct CurrentProgramme {
  std::string number;  // 编号 as read
  int position = 0;    // its integer value: 1-based place in the programme list
  std::string name;    // empty when the position names no programme
  std::string performer;
  std::string average;  // the programme's average text; empty when none
  std::vector<JudgeLine> judges;
  int scoredCount = 0;
  std::optional<double> highest;  // of the scored texts; nothing without scores
  std::optional<double> lowest;
  std::string resultLine;  // 去除最高分…,去除最低分…,得分:…
};

struct ScoringReading {
  // One average text per programme computed before the reading stopped (all of them when it did not).
  std::vector<std::string> averages;
  // One rank per programme once all averages are computed; empty otherwise.
  std::vector<std::string> ranks;
  std::optional<CurrentProgramme> current;  // when asked for and reached
  // The conversion message (UTF-8) that stopped it, or the sheet's problem (a file
  // that is not GBK text); empty when none.
  std::string error;
  bool complete() const { return error.empty(); }
};

// Averages, then (with `withRanks`) ranks, then (with `withCurrent`) the current programme.
ScoringReading readScores(const ScoringInputs& inputs, const ScoreSheet& sheet, bool withRanks, bool withCurrent);
// The same after opening the file by the reading rule (data folder fallback, missing file reads empty).
ScoringReading readScores(const ScoringInputs& inputs, const std::filesystem::path& programDir, bool withRanks,
                          bool withCurrent);

// The result line of the current programme: "去除最高分" + highest + "," when
// drop highest is on and more than two scored, the same for the lowest, then
// "得分:" + average. GBK.
std::string resultLine(const CurrentProgramme& current, DropRules drops);

}  // namespace scoring
