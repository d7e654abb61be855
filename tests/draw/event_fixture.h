#pragma once
// An event folder written by a test: Config.ini built from award rows and
// settings, a roster of GBK names, and an engine over it with a fixed clock and
// seed, so that log lines and draws are repeatable.
#include <string>
#include <vector>

#include "base/delimited_row.h"
#include "base/text_file.h"
#include "draw/draw_data.h"
#include "draw/event_files.h"
#include "draw/event_folder.h"
#include "draw/lifecycle.h"
#include "draw/pool.h"
#include "draw/selection.h"
#include "test_folder.h"

namespace draw_testing {

using testing_support::gbk;

struct Award {
  std::string name;  // UTF-8
  int places;
  int batch;
  std::string prize = "奖品";
  std::string sponsor = "";  // who hands the prize over
  std::string picture = "";  // the prize picture's file in "prize"
};

class EventFixture {
 public:
  explicit EventFixture(const std::filesystem::path& parent = std::filesystem::temp_directory_path())
      : dir_(parent), folder_(dir_.path()) {
    folder_.dateTimeText = [] { return std::string("2026-12-08 20:15:03"); };
  }

  const testing_support::TestFolder& dir() const { return dir_; }
  draw::EventFolder& folder() { return folder_; }
  const draw::EventFolder& folder() const { return folder_; }

  // Config.ini lines, UTF-8 ("[section]" or "key=value"), converted to GBK.
  void config(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += gbk(line) + "\r\n";
    dir_.write("Config.ini", text);
  }
  static std::vector<std::string> awardLines(const std::vector<Award>& awards) {
    std::vector<std::string> lines{"[奖项设置]"};
    for (std::size_t i = 0; i < awards.size(); ++i) {
      const Award& a = awards[i];
      std::string serial = std::to_string(i + 1);
      lines.push_back(serial + "=" +
                      base::gbkToUtf8(base::writeDelimitedRow({serial, gbk(a.name), std::to_string(a.places),
                                                               std::to_string(a.batch), "", gbk(a.prize),
                                                               gbk(a.sponsor), gbk(a.picture)})));
    }
    return lines;
  }
  // Roster names are UTF-8; written as GBK lines.
  void roster(const std::vector<std::string>& names, const std::string& file = "NameList.txt") {
    std::vector<std::string> lines;
    for (const auto& n : names) lines.push_back(gbk(n));
    base::rewriteLines(dir_ / file, lines);
  }
  static std::vector<std::string> numberedNames(int count, const std::string& stem = "人") {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(stem + std::to_string(i));
    return names;
  }
  std::vector<std::string> lines(const std::string& file) const {
    auto bytes = base::readFileIfExists(dir_ / file);
    return bytes ? base::splitLines(*bytes) : std::vector<std::string>{};
  }

  // Program start without the window steps; the seed replaces the clock's. The
  // notices of both halves come in the outcome's message; questions are answered
  // with `answer` and kept in `questions`.
  draw::LifecycleOutcome start(draw::DrawData& data, std::uint64_t seed = 7, bool firstRun = false) {
    draw::LifecycleOutcome loaded = draw::startupLoad(data, folder_);
    data.random.seed(seed);
    draw::LifecycleOutcome outcome = draw::startupResume(data, folder_, firstRun, [this](const std::string& text) {
      questions.push_back(text);
      return answer;
    });
    if (loaded.message) {
      const std::optional<std::string> later = outcome.message;
      outcome.message = loaded.message;
      if (later) outcome.addMessage(*later);
    }
    return outcome;
  }
  bool answer = false;
  std::vector<std::string> questions;

 private:
  testing_support::TestFolder dir_;
  draw::EventFolder folder_;
};

// One people-rolling batch the way the draw control runs it: the next award with
// places in the draw order, its batch size cut to the places left and to the
// pool, pick, header block and record. Returns false when no award has places or
// the pool is empty.
inline bool drawBatch(draw::DrawData& data, const draw::EventFolder& folder) {
  data.state.currentAward = draw::findCurrentAward(data);
  if (data.state.currentAward.empty()) return false;
  const auto award = static_cast<std::size_t>(std::stoi(data.state.currentAward));
  data.state.batchSize = std::min(data.count(award, draw::item::kBatchSize), data.remaining(award));
  if (draw::buildPool(data, folder.configFiles().openConfigOnly())) return false;
  data.state.batchSize = std::min<int>(data.state.batchSize, static_cast<int>(data.AllNameGrid.rowCount()) - 1);
  draw::batchPick(data);
  draw::logHeaderIfNewAward(data, folder);
  draw::batchRecord(data, folder);
  return true;
}

}  // namespace draw_testing
