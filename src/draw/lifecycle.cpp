#include "draw/lifecycle.h"

#include <algorithm>

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/folder_access.h"
#include "base/gbk.h"
#include "base/text_check.h"
#include "base/text_file.h"
#include "draw/batch_note.h"
#include "draw/draw_texts.h"
#include "draw/event_files.h"
#include "draw/paired_writes.h"
#include "draw/pool.h"
#include "draw/torn_lines.h"
#include "draw/winners_record_check.h"

namespace draw {

using base::gbk;

void LifecycleOutcome::addMessage(const std::string& text) { message = message ? *message + "\r\n\r\n" + text : text; }

std::string blockedHint() { return gbk("现在不能抽奖,请按空格键查看原因"); }

std::string startupFailureMessage(const std::string& cause) {
  return base::utf8ToGbk("启动时没有读完活动的文件,现在不能抽奖:\n" + cause +
                         "\n\n请排除上述问题(例如清理磁盘空间、取消文件或文件夹的只读属性)后重新启动程序。"
                         "在此之前抽奖会被拒绝,以免中奖记录中已有的名额和人员被重复抽取。");
}

namespace {

// Runs a start-up step; a failure leaves the draw blocked with its words and is raised on.
template <typename Step>
auto blockingOnFailure(DrawData& data, Step&& step) {
  try {
    return step();
  } catch (const base::FileError& error) {
    data.state.drawBlocked = startupFailureMessage(error.what());
    throw;
  } catch (const base::ConversionError& error) {
    data.state.drawBlocked = startupFailureMessage(error.what());
    throw;
  }
}

std::string recordName(const EventFolder& folder) { return folder.winnersRecordPath().filename().string(); }

// Loads the winners record after sorting its lines. Returns false, with the
// draw blocked and the reason in the outcome, when the record cannot be taken.
bool loadWinnersRecord(DrawData& data, const EventFolder& folder, const StartupQuestion& ask,
                       LifecycleOutcome& outcome) {
  const std::filesystem::path file = folder.winnersRecordPath();
  const std::optional<std::string> bytes = base::readFileIfExists(file);
  if (!bytes) return true;
  RecordReading reading = readWinnersRecord(*bytes, data);
  const std::string name = recordName(folder);
  if (!reading.unsafe.empty()) {
    const std::string text = gbk("中奖记录 ") + name + gbk(" 中有读不出的行,其中可能含有中奖记录:") + "\r\n" +
                             describeFindings(reading.unsafe) +
                             gbk("去掉这些行可能使一个名额或一个人被重复抽取,因此现在不能抽奖。请用文本编辑器修复这些行"
                                 "(每行一条记录:序号|姓名|显示姓名|奖项名称|奖项编号),然后重新启动程序。");
    outcome.addMessage(text);
    outcome.hint = blockedHint();
    data.state.drawBlocked = text;
    return false;
  }
  if (!reading.whole()) {
    const std::filesystem::path aside = asideNameFor(file);
    if (reading.needsConsent()) {
      std::vector<RecordFinding> lines = reading.damaged;
      lines.insert(lines.end(), reading.unreadable.begin(), reading.unreadable.end());
      std::sort(lines.begin(), lines.end(),
                [](const RecordFinding& a, const RecordFinding& b) { return a.line < b.line; });
      const std::string question =
          gbk("中奖记录 ") + name + gbk(" 中有不能完整读取的行:") + "\r\n" + describeFindings(lines) +
          gbk("读出了序号和奖项编号的记录照常有效;其余的行不是完整的中奖记录,不占名额。") + "\r\n\r\n" +
          gbk("是否把原文件另存为 ") + aside.filename().string() + gbk(",改正或去掉这些行,用其余 ") +
          std::to_string(reading.records.size()) + gbk(" 条记录继续抽奖?") + "\r\n" +
          gbk("选\"否\"则现在不能抽奖,请修复该文件后重新启动程序。");
      if (!ask(question)) {
        outcome.hint = blockedHint();
        data.state.drawBlocked =
            gbk("中奖记录 ") + name +
            gbk(" 中有不能完整读取的行(见启动时的提示),现在不能抽奖。请修复该文件后重新启动程序。");
        return false;
      }
    }
    keepAside(aside, *bytes);
    base::rewriteLines(file, reading.lines);
    if (!reading.surplus.empty())
      outcome.addMessage(gbk("中奖记录 ") + name + gbk(" 中有多余的行,已经去掉,先记录的照常有效:") + "\r\n" +
                         describeFindings(reading.surplus) + gbk("原文件已另存为 ") + aside.filename().string() +
                         gbk("。"));
  }
  if (!reading.beyondPlaces.empty())
    outcome.addMessage(gbk("中奖记录 ") + name + gbk(" 中有超出奖项名额的记录:") + "\r\n" +
                       describeFindings(reading.beyondPlaces) +
                       gbk("这些记录都保留,照常有效,这些奖项不会再抽取。如果其中有重复抄录的行,请退出程序,"
                           "核对并删去后再启动。"));
  takeWinnerRecords(data, std::move(reading.records));
  return true;
}

std::string interruptedBatchNotice(const InterruptedBatch& batch) {
  std::string names;
  for (const Table::Row& record : batch.recorded)
    names += (names.empty() ? "" : gbk("、")) + base::excerptForMessage(record[winner::kDisplayName]);
  std::string text = gbk("上次抽奖在记录一批中奖者时中断了(程序被关闭或断电)。");
  if (batch.recorded.empty()) {
    text += gbk("这一批没有一名中奖者记录下来,这些名额会重新抽取。");
  } else {
    text += gbk("这一批已记录的 ") + std::to_string(batch.recorded.size()) + gbk(" 名中奖者有效,现在显示在屏幕上:") +
            names + gbk("。");
    if (batch.recorded.size() < batch.planned)
      text += gbk("其余 ") + std::to_string(batch.planned - batch.recorded.size()) +
              gbk(" 名没有记录,不算中奖,这些名额会重新抽取。");
  }
  return text;
}

}  // namespace

LifecycleOutcome startupLoad(DrawData& data, const EventFolder& folder) {
  data.state.drawBlocked = startupFailureMessage("启动没有完成。");
  return blockingOnFailure(data, [&] {
    LifecycleOutcome outcome;
    // The files the draw appends to, and the folder every rewrite makes its new file in.
    if (auto problem = base::findWriteProblem(folder.programDir(), {folder.winnersRecordPath().filename().string(),
                                                                    folder.logPath().filename().string()}))
      throw *problem;
    data.random.seedFromClock();
    data.state.singleAwardTarget = 0;
    if (auto finished = finishInterruptedWrites(folder)) outcome.addMessage(*finished);
    if (const base::TextProblem problem = rosterLoad(folder, data); problem != base::TextProblem::None) {
      const std::string roster = folder.rosterPath(data.settings.textDraw).filename().string();
      outcome.addMessage(
          gbk("名单文件 ") + roster + " " + base::utf8ToGbk(base::describeTextProblem(problem)) +
          gbk(",名字会显示成乱码,抽中后也会这样记录。请把名单文件另存为GBK编码(或用[抽奖名单]重新录入)后再抽奖。"));
    }
    return outcome;
  });
}

std::string findCurrentAward(const DrawData& data) {
  const std::size_t rows = data.awardRowCount();
  for (std::size_t i = 0; i < rows; ++i) {
    const std::size_t r = data.settings.drawOrder == 0 ? i + 1 : rows - i;
    if (data.remaining(r) > 0) return std::to_string(r);
  }
  return {};
}

LifecycleOutcome startupResume(DrawData& data, const EventFolder& folder, bool firstRun, const StartupQuestion& ask) {
  LifecycleOutcome outcome;
  try {
    // The repair comes first: a torn last line would be read as a damaged line,
    // or record a person nobody saw win.
    if (auto repaired = repairTornLastLines(folder)) outcome.addMessage(*repaired);
    if (!loadWinnersRecord(data, folder, ask, outcome)) return outcome;
  } catch (const base::FileError& error) {
    data.state.drawBlocked = startupFailureMessage(error.what());
    outcome.addMessage(data.state.drawBlocked);
    outcome.hint = blockedHint();
    return outcome;
  }
  if (auto batch = takeInterruptedBatch(folder, data)) {
    outcome.addMessage(interruptedBatchNotice(*batch));
    outcome.interruptedBatch = std::move(batch->recorded);
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
    outcome.addMessage(gbk("奖项设置为空,请检查[参数设置]->[奖项设置]!"));
    data.ItemGrid.setRowCount(1);
    data.ItemGrid.setRowCount(2);
  }
  if (firstRun) outcome.hint = gbk("请在空白处点右键设置名单和奖项");
  data.state.drawBlocked.clear();
  return outcome;
}

LifecycleOutcome resetDraw(DrawData& data, const EventFolder& folder) {
  LifecycleOutcome outcome;
  // While the draw is blocked the tables do not hold what the record holds: the
  // record is kept aside whole before it is emptied, so that no winner is lost
  // to a reset the operator asked for without seeing them.
  if (!data.state.drawBlocked.empty()) {
    const std::optional<std::string> unread = base::readFileIfExists(folder.winnersRecordPath());
    if (unread && !unread->empty()) {
      const std::filesystem::path aside = asideNameFor(folder.winnersRecordPath());
      keepAside(aside, *unread);
      outcome.addMessage(gbk("没有读全的中奖记录已另存为 ") + base::utf8ToGbk(aside.filename().string()) +
                         gbk(",重新开始抽奖后不再计入。"));
    }
  }
  // Config.ini first, with the note that the winners record is to be emptied in
  // the same rewrite; a crash before the record is emptied is finished at start-up.
  pairedWrite(
      folder,
      [&](base::IniFile& config) {
        base::IniBatch batch(config);
        for (std::size_t r = 1; r <= data.awardRowCount(); ++r) {
          const std::string key = std::to_string(r);
          config.deleteKey(texts::sectionGivenUp(), key);
          config.deleteKey(texts::sectionSupplementary(), key);
        }
        noteWinnersRecordCleared(config);
      },
      [&] { truncateWinnersRecord(folder); }, "重新开始抽奖");
  dropBatchNote(folder);
  rosterLoad(folder, data);
  for (std::size_t r = 1; r <= data.awardRowCount(); ++r) {
    data.ItemGrid.setCell(item::kGivenUp, r, "0");
    data.ItemGrid.setCell(item::kSupplementary, r, "0");
  }
  // The record is empty now, as the tables are: whatever kept the draw from
  // starting is behind it.
  data.state.drawBlocked.clear();
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
