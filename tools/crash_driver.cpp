// crash_driver run EVENT_DIR JOURNAL SEED
// crash_driver check EVENT_DIR JOURNAL [--cut BYTES]
//
// The two halves of scripts/checks/crash_test.sh. "run" drives whole events on a folder
// without a window, as the program would, until it is killed: start-up (which
// resumes whatever the folder holds), batches, give-ups, supplementary places,
// restarts of the draw and fresh start-ups, at random. It writes its process id
// to JOURNAL.pid first (the script may run it under a tracer that slows its
// syncs, and kills the driver itself). Before each operation it appends
// "A <operation> <records>" to JOURNAL (a batch's stop adds the winners it is to
// record: "A stop <records> <winners>") and after it "R <records>", where
// records is the number of lines of the winners record it knows of. A batch's
// winners are on screen from the moment its stop begins.
//
// "check" runs after a kill, on what the disk holds: every file parses, no
// record is torn, lost or doubled (against the journal's last operation), no
// award holds more winners than its places, and start-up works; after a kill
// inside a batch's stop, start-up shows every winner of that batch the disk
// holds and says the batch was interrupted. With --cut it first cuts BYTES off
// the end of LuckName.txt, as a power cut could, and expects start-up to repair
// it. Prints one "FAULT ..." line per fault found and exits 1 when there was one.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/conversion_error.h"
#include "base/delimited_row.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "base/ini_document.h"
#include "base/text_file.h"
#include "draw/award_corrections.h"
#include "draw/headless_view.h"
#include "draw/startup.h"
#include "draw/paired_writes.h"
#include "draw/lifecycle.h"
#include "draw/torn_lines.h"

namespace {

namespace fs = std::filesystem;

class Journal {
 public:
  explicit Journal(const fs::path& path) : file_(std::fopen(path.c_str(), "a")) {}
  ~Journal() {
    if (file_) std::fclose(file_);
  }
  // Unbuffered as far as a kill goes: fflush hands the line to the kernel.
  void line(const std::string& text) {
    std::fputs((text + "\n").c_str(), file_);
    std::fflush(file_);
  }

 private:
  std::FILE* file_;
};

int run(const fs::path& dir, const fs::path& journalPath, unsigned seed) {
  draw::EventFolder folder(dir);
  {
    std::ofstream pid(journalPath.string() + ".pid");
    pid << ::getpid() << "\n";
  }
  Journal journal(journalPath);
  std::mt19937 random(seed);
  auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  for (;;) {
    draw::DrawData data;
    draw::HeadlessView view;
    view.answer = false;
    draw::Luck luck(data, folder, view);
    journal.line(
        "A startup " +
        std::to_string(base::splitLines(base::readFileIfExists(folder.winnersRecordPath()).value_or("")).size()));
    if (draw::startUp(data, folder, view, luck) != draw::StartupResult::Ready) {
      std::cerr << "start-up failed\n";
      return 1;
    }
    data.random.seed(random());
    journal.line("R " + std::to_string(data.winnerCount()));
    for (int step = 0; step < 60; ++step) {
      const std::string before = std::to_string(data.winnerCount());
      const int roll = static_cast<int>(random() % 100);
      try {
        if (roll < 70) {
          journal.line("A batch " + before);
          if (luck.winnersDisplayPending()) luck.Timer2Timer();
          luck.startStopCommand();
          while (luck.countingDown()) luck.Timer4Timer();
          if (luck.rolling()) {
            luck.Timer1Timer();
            journal.line("R " + std::to_string(data.winnerCount()));
            const int winners = data.settings.peopleRolling ? data.state.batchSize : 1;
            journal.line("A stop " + std::to_string(data.winnerCount()) + " " + std::to_string(winners));
            luck.startStopCommand();
            while (luck.countingDown()) luck.Timer4Timer();
          }
          if (data.state.currentAward.empty() || data.AllNameGrid.rowCount() < 2) {
            journal.line("R " + std::to_string(data.winnerCount()));
            journal.line("A restart " + std::to_string(data.winnerCount()));
            luck.abandonBatch();
            draw::restartDraw(data, folder);
          }
        } else if (roll < 80) {
          journal.line("A giveup " + before);
          if (data.hasWinners()) {
            draw::GiveUpChoice choice;
            choice.recordRow = 1 + random() % data.winnerCount();
            choice.returnToPool = chance(50);
            choice.drawPlaceAgain = chance(50);
            draw::giveUp(data, folder, choice);
          }
        } else if (roll < 88) {
          journal.line("A supplementary " + before);
          draw::SupplementaryRequest request;
          request.chosenRow = 1 + random() % data.awardRowCount();
          request.awardText = data.ItemGrid.cell(draw::item::kName, request.chosenRow);
          // The count replaces the award's supplementary places; an operator
          // adds places here, so the driver never lowers it below the draws.
          request.countText =
              std::to_string(data.count(request.chosenRow, draw::item::kSupplementary) + 1 + random() % 2);
          draw::supplementary(data, folder, request);
        } else if (roll < 92) {
          journal.line("A restart " + before);
          luck.abandonBatch();
          draw::restartDraw(data, folder);
        } else {
          break;  // a fresh start-up, as after closing and opening the program
        }
      } catch (const std::exception& error) {
        std::cerr << "operation failed: " << error.what() << "\n";
        return 1;
      }
      journal.line("R " + std::to_string(data.winnerCount()));
    }
  }
}

struct Checker {
  int faults = 0;
  void fault(const std::string& text) {
    ++faults;
    std::cout << "FAULT " << text << "\n";
  }
};

int check(const fs::path& dir, const fs::path& journalPath, std::size_t cut) {
  Checker checker;
  draw::EventFolder folder(dir);
  // Give-up and restart write Config.ini first, with a note of what the winners
  // record must become; start-up finishes a note a kill left behind. The disk
  // is judged as the program reads it, after that.
  draw::finishInterruptedWrites(folder);
  const fs::path record = folder.winnersRecordPath();
  std::string recordBytes = base::readFileIfExists(record).value_or("");

  // Each line reaches the file in one write, but a kill can still cut the line
  // being written: the kernel stops a write that crosses a page of the file when
  // the process is killed. Only the last line can be torn so; start-up must say so
  // and drop it alone. A last CR is a whole line end: only the LF after it is lost.
  auto endsInsideALine = [](const std::string& bytes) {
    return !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r';
  };
  const bool logTorn = endsInsideALine(base::readFileIfExists(folder.logPath()).value_or(""));
  const bool recordTornByKill = endsInsideALine(recordBytes);

  // The operation the kill interrupted, and the records known before it.
  std::string lastAction;
  long before = -1;
  long after = -1;
  long planned = 0;  // winners of the stop in hand
  {
    std::ifstream journal(journalPath);
    std::string kind;
    while (journal >> kind) {
      if (kind == "A") {
        journal >> lastAction >> before;
        if (lastAction == "stop") journal >> planned;
        after = -1;
      } else if (kind == "R") {
        journal >> after;
      }
    }
  }
  const bool notedBatch = std::filesystem::exists(folder.batchNotePath());

  const base::IniDocument config =
      base::IniDocument::parse(base::readFileIfExists(folder.configFiles().configPath()).value_or(""));
  // Records on disk, each whole and pointing at an award row; a torn last one is
  // the record the kill interrupted.
  std::vector<std::string> lines = base::splitLines(recordBytes);
  if (recordTornByKill) lines.pop_back();
  std::map<long, int> drawn;
  std::set<std::string> people;
  bool repeatWinning = true;
  if (auto value = config.value(base::utf8ToGbk("界面设置"), base::utf8ToGbk("重复中奖")))
    repeatWinning = base::parseInt(*value).value_or(1) != 0;
  for (const std::string& line : lines) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar; (bar = base::findSingleByte(line, '|', start)) != std::string::npos; start = bar + 1)
      fields.push_back(line.substr(start, bar - start));
    fields.push_back(line.substr(start));
    const auto person = fields.size() == 5 ? base::parseInt(fields[0]) : std::nullopt;
    const auto award = fields.size() == 5 ? base::parseInt(fields[4]) : std::nullopt;
    if (!person || !award) {
      checker.fault("damaged record: " + base::gbkToUtf8(line));
      continue;
    }
    ++drawn[*award];
    if (!repeatWinning && !people.insert(fields[0]).second) checker.fault("person " + fields[0] + " won twice");
  }

  // Lost or doubled records against the journal.
  const long onDisk = static_cast<long>(lines.size());
  if (recordTornByKill && (after >= 0 || lastAction != "stop"))
    checker.fault("the winners record ends inside a line after " + lastAction);
  if (after >= 0 && onDisk != after) {
    checker.fault(lastAction + " finished with " + std::to_string(after) + " records, disk holds " +
                  std::to_string(onDisk));
  } else if (after < 0 && before >= 0) {
    bool fits = onDisk == before;
    if (lastAction == "stop") fits = onDisk >= before && onDisk <= before + planned;
    if (lastAction == "giveup") fits = fits || onDisk == before - 1;
    if (lastAction == "restart") fits = fits || onDisk == 0;
    if (!fits)
      checker.fault("killed in " + lastAction + " with " + std::to_string(before) + " records, disk holds " +
                    std::to_string(onDisk));
  }

  // No award holds more winners than its places.
  const std::string awards = base::utf8ToGbk("奖项设置");
  for (long r = 1;; ++r) {
    auto row = config.value(awards, std::to_string(r));
    if (!row || row->empty()) break;
    const auto cells = base::readDelimitedRow(*row, 13);
    const int places = cells.size() > 2 ? base::parseInt(cells[2]).value_or(0) : 0;
    const int extra =
        base::parseInt(config.value(base::utf8ToGbk("补奖"), std::to_string(r)).value_or("0")).value_or(0);
    const int givenUp =
        base::parseInt(config.value(base::utf8ToGbk("弃奖"), std::to_string(r)).value_or("0")).value_or(0);
    if (drawn[r] + givenUp > places + extra)
      checker.fault("award " + std::to_string(r) + " holds " + std::to_string(drawn[r]) + " winners and " +
                    std::to_string(givenUp) + " given up for " + std::to_string(places + extra) + " places");
  }

  // A power cut on top of the kill: the last bytes never reached the disk.
  if (cut > 0 && recordBytes.size() > cut) {
    recordBytes.resize(recordBytes.size() - cut);
    base::writeFileAtomically(record, recordBytes);
  }

  // Start-up works on what the disk holds.
  draw::DrawData data;
  draw::HeadlessView view;
  draw::Luck luck(data, folder, view);
  if (draw::startUp(data, folder, view, luck) != draw::StartupResult::Ready) checker.fault("start-up stopped");
  const bool torn = endsInsideALine(recordBytes);
  bool repairTold = false;
  bool logRepairTold = false;
  bool interruptionTold = false;
  for (const auto& event : view.transcript) {
    const std::string text = base::gbkToUtf8(event.text);
    if (event.kind != draw::HeadlessView::Event::Kind::Message) continue;
    // One box may hold several notices, a blank line between them.
    bool known = false;
    if (text.find("LuckName.txt") != std::string::npos) repairTold = known = true;
    if (text.find("log.txt") != std::string::npos) logRepairTold = known = true;
    if (text.find("中断") != std::string::npos) interruptionTold = known = true;
    if (!known) checker.fault("start-up said: " + text);
  }
  // A kill inside a stop: the winners the disk holds of that batch are all on
  // screen again, and the operator hears the batch was interrupted. Without the
  // batch's note every winner must be on disk (the note goes only after them).
  if (lastAction == "stop" && after < 0 && cut == 0) {
    const std::size_t first = static_cast<std::size_t>(before) + 1;
    std::vector<std::string> recorded;
    for (std::size_t r = first; r <= data.winnerCount(); ++r)
      recorded.push_back(data.LuckNameGrid.cell(draw::winner::kDisplayName, r));
    if (notedBatch) {
      std::cout << "INTERRUPTED " << recorded.size() << " of " << planned << "\n";
      if (!interruptionTold) checker.fault("an interrupted batch was not told");
      const std::vector<std::string> shown = data.settings.peopleRolling
                                                 ? view.visibleFrameTexts()
                                                 : std::vector<std::string>{view.fieldText[draw::Field::HonorGuest]};
      if (!recorded.empty() && shown != recorded)
        checker.fault("an interrupted batch's " + std::to_string(recorded.size()) + " recorded winners were not shown");
    } else if (!recorded.empty() && static_cast<long>(recorded.size()) != planned) {
      checker.fault("a batch recorded " + std::to_string(recorded.size()) + " of " + std::to_string(planned) +
                    " winners without its note");
    }
  }
  if (torn != repairTold) checker.fault(torn ? "a torn record was not repaired" : "a whole record was reported torn");
  if (logTorn != logRepairTold)
    checker.fault(logTorn ? "a torn log line was not repaired" : "a whole log was reported torn");
  const std::size_t expected = base::splitLines(recordBytes).size() - (torn ? 1 : 0);
  if (data.winnerCount() != expected)
    checker.fault("start-up read " + std::to_string(data.winnerCount()) + " records of " + std::to_string(expected));
  return checker.faults > 0 ? 1 : 0;
}

int usage() {
  std::cerr << "usage: crash_driver run EVENT_DIR JOURNAL SEED | check EVENT_DIR JOURNAL [--cut BYTES]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  const std::string mode = argv[1];
  if (mode == "run" && argc == 5) return run(argv[2], argv[3], static_cast<unsigned>(std::stoul(argv[4])));
  if (mode == "check") {
    std::size_t cut = 0;
    if (argc == 6 && std::string(argv[4]) == "--cut") cut = std::stoul(argv[5]);
    return check(argv[2], argv[3], cut);
  }
  return usage();
}
