#include "scoring/core/scoring_refresh.h"

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "scoring/core/scoring_math.h"

namespace scoring {

ScoringInputs readInputs(const base::IniFile& config, const std::filesystem::path& programDir) {
  ScoringInputs inputs;
  inputs.programmes = readProgrammes(config);
  inputs.judges = readJudges(config);
  inputs.drops = readDisplayDropRules(config);
  inputs.scoringFile = configuredScoringFile(programDir, config.readString(kProgrammeSection, kFilePathKey, ""));
  return inputs;
}

namespace {

std::vector<std::string> scoresOf(const ScoringInputs& inputs, const ScoreSheet& sheet, const Programme& programme) {
  std::vector<std::string> texts;
  texts.reserve(inputs.judges.size());
  for (const std::string& judge : inputs.judges) texts.push_back(sheet.score(programme, judge));
  return texts;
}

CurrentProgramme readCurrent(const ScoringInputs& inputs, const ScoreSheet& sheet,
                             const std::vector<std::string>& averages) {
  CurrentProgramme current;
  current.number = sheet.currentNumber();
  current.position = base::toInt(current.number);
  const bool named = current.position >= 1 && current.position <= static_cast<int>(inputs.programmes.size());
  if (named) {
    const Programme& programme = inputs.programmes[static_cast<std::size_t>(current.position - 1)];
    current.name = programme.name;
    current.performer = programme.performer;
    if (static_cast<std::size_t>(current.position) <= averages.size())
      current.average = averages[static_cast<std::size_t>(current.position - 1)];
  }
  std::vector<std::string> texts;
  for (const std::string& judge : inputs.judges) {
    std::string score;
    // A number that names no programme has no entries: the section would be "<n>." alone.
    if (sheet.layout() == FileLayout::ByJudge)
      score = named ? sheet.text(judge, current.number) : std::string();
    else if (named)
      score = sheet.text(current.number + "." + current.name, judge);
    texts.push_back(score);
    current.judges.push_back({judge, score, {}});
  }
  const ScoreTally scores = tally(texts);
  current.scoredCount = scores.count;
  if (scores.count > 0) {
    current.highest = scores.highest;
    current.lowest = scores.lowest;
  }
  const DropRules drops = inputs.drops;
  if (current.lowest && drops.lowest) {
    const std::string lowest = shortestNumber(*current.lowest);
    for (JudgeLine& line : current.judges)
      if (!line.score.empty() && line.score == lowest) {
        line.mark = "Min";
        break;
      }
  }
  if (current.highest && drops.highest) {
    const std::string highest = shortestNumber(*current.highest);
    for (JudgeLine& line : current.judges)
      if (!line.score.empty() && line.score == highest) {
        line.mark = "Max";
        break;
      }
  }
  current.resultLine = resultLine(current, drops);
  return current;
}

}  // namespace

std::string resultLine(const CurrentProgramme& current, DropRules drops) {
  std::string line;
  if (drops.highest && current.scoredCount > 2 && current.highest)
    line += base::utf8ToGbk("去除最高分") + shortestNumber(*current.highest) + ",";
  if (drops.lowest && current.scoredCount > 2 && current.lowest)
    line += base::utf8ToGbk("去除最低分") + shortestNumber(*current.lowest) + ",";
  return line + base::utf8ToGbk("得分:") + current.average;
}

ScoringReading readScores(const ScoringInputs& inputs, const ScoreSheet& sheet, bool withRanks, bool withCurrent) {
  ScoringReading reading;
  if (!sheet.problem().empty()) {
    reading.error = sheet.problem();
    return reading;
  }
  try {
    reading.averages.reserve(inputs.programmes.size());
    for (const Programme& programme : inputs.programmes)
      reading.averages.push_back(formatAverage(average(tally(scoresOf(inputs, sheet, programme)), inputs.drops)));
    if (withRanks) reading.ranks = denseRanks(reading.averages);
    if (withCurrent) reading.current = readCurrent(inputs, sheet, reading.averages);
  } catch (const base::ConversionError& error) {
    reading.error = error.what();
  }
  return reading;
}

ScoringReading readScores(const ScoringInputs& inputs, const std::filesystem::path& programDir, bool withRanks,
                          bool withCurrent) {
  return readScores(inputs, ScoreSheet::load(readingScoringFile(programDir, inputs.scoringFile)), withRanks,
                    withCurrent);
}

}  // namespace scoring
