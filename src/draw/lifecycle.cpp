#include "draw/lifecycle.h"

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "draw/draw_texts.h"
#include "draw/event_files.h"
#include "draw/paired_writes.h"
#include "draw/pool.h"
#include "draw/torn_lines.h"

namespace draw {

using texts::gbk;

void startupLoad(DrawData& data, const EventFolder& folder) {
  data.random.seedFromClock();
  data.state.singleAwardTarget = 0;
  finishInterruptedWrites(folder);
  rosterLoad(folder, data);
}

std::string findCurrentAward(const DrawData& data) {
  const std::size_t rows = data.awardRowCount();
  for (std::size_t i = 0; i < rows; ++i) {
    const std::size_t r = data.settings.drawOrder == 0 ? i + 1 : rows - i;
    if (data.remaining(r) > 0) return std::to_string(r);
  }
  return {};
}

LifecycleOutcome startupResume(DrawData& data, const EventFolder& folder, bool firstRun) {
  LifecycleOutcome outcome;
  // The repair comes first: a torn last line would stop the load or record a
  // person nobody saw win. Its notice reaches the operator once, with the
  // load's own message when the load then fails on another line.
  const std::optional<std::string> repaired = repairTornLastLines(folder);
  try {
    winnersRecordLoad(folder, data);
  } catch (const base::ConversionError& error) {
    if (!repaired) throw;
    throw base::ConversionError(base::gbkToUtf8(*repaired) + "\n\n" + error.what());
  }
  if (!data.settings.peopleRolling) buildQueue(data);
  try {
    data.state.currentAward = findCurrentAward(data);
    const std::string& current = data.state.currentAward;
    if (current.empty()) {
      outcome.hint = gbk("抽奖结束,需重新抽奖请按右键");
    } else if (data.hasWinners()) {
      outcome.hint = gbk("继续抽取") + data.ItemGrid.cell(item::kName, static_cast<std::size_t>(std::stoul(current)));
    }
    if (!data.settings.peopleRolling) {
      const Table& queue = data.AllNameGrid;
      outcome.hint = queue.rowCount() < 2 ? gbk("人员已经全部抽完")
                                          : gbk("请 ") + queue.cell(person::kDisplayName, 1) + gbk(" 继续抽取");
    }
  } catch (const base::ConversionError&) {
    outcome.message = gbk("奖项设置为空,请检查[参数设置]->[奖项设置]!");
    data.ItemGrid.setRowCount(1);
    data.ItemGrid.setRowCount(2);
  }
  if (firstRun) outcome.hint = gbk("请在空白处点右键设置名单和奖项");
  if (repaired) outcome.message = outcome.message ? *repaired + "\r\n\r\n" + *outcome.message : *repaired;
  return outcome;
}

LifecycleOutcome resetDraw(DrawData& data, const EventFolder& folder) {
  // Config.ini first, with the note that the winners record is to be emptied in
  // the same rewrite; a crash before the record is emptied is finished at start-up.
  base::IniFile config = folder.configFiles().openConfig();
  {
    base::IniBatch batch(config);
    for (std::size_t r = 1; r <= data.awardRowCount(); ++r) {
      const std::string key = std::to_string(r);
      config.deleteKey(texts::sectionGivenUp(), key);
      config.deleteKey(texts::sectionSupplementary(), key);
    }
    noteWinnersRecordCleared(config);
  }
  truncateWinnersRecord(folder);
  dropNote(config);
  rosterLoad(folder, data);
  for (std::size_t r = 1; r <= data.awardRowCount(); ++r) {
    data.ItemGrid.setCell(item::kGivenUp, r, "0");
    data.ItemGrid.setCell(item::kSupplementary, r, "0");
  }
  LifecycleOutcome outcome;
  outcome.hint = gbk("按空格键开始抽奖");
  return outcome;
}

LifecycleOutcome restartDraw(DrawData& data, const EventFolder& folder) {
  data.state.singleAwardTarget = 0;
  LifecycleOutcome outcome = resetDraw(data, folder);
  if (!data.settings.peopleRolling) {
    buildTickets(data);
    buildQueue(data);
  }
  return outcome;
}

}  // namespace draw
