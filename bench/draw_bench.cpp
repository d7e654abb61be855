// Figures for the draw engine on a large event: the start-up from the files
// (the engine alone and with the screen's loads, against reading the same files'
// bytes) and one batch of 30 as the pool grows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "draw/draw_data.h"
#include "draw/event_files.h"
#include "draw/event_folder.h"
#include "draw/lifecycle.h"
#include "draw/pool.h"
#include "draw/selection.h"
#include "screen/state/screen_settings.h"

namespace {

namespace fs = std::filesystem;

class BenchFolder {
 public:
  BenchFolder() {
    std::random_device seed;
    path_ = fs::temp_directory_path() / ("kv_bench_" + std::to_string(seed()));
    fs::create_directories(path_);
  }
  ~BenchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string gbk(const char* utf8) { return base::utf8ToGbk(utf8); }

// Config.ini with `awards` awards of `places` places each, a roster of `people`
// two- and three-character names and a winners record of `winners` lines.
void writeEvent(const fs::path& dir, int people, int awards, int places, int winners) {
  std::string config = gbk("[界面设置]") + "\r\n" + gbk("抽奖顺序=0") + "\r\n" + gbk("[奖项设置]") + "\r\n";
  for (int a = 1; a <= awards; ++a) {
    config += std::to_string(a) + "=" +
              base::writeDelimitedRow({std::to_string(a), gbk("奖项") + std::to_string(a), std::to_string(places), "30",
                                       "", gbk("奖品 ") + std::to_string(a), "", ""}) +
              "\r\n";
  }
  base::writeFileAtomically(dir / "Config.ini", config);

  const std::string surnames = gbk("王李张刘陈杨赵黄周吴");
  const std::string given = gbk("伟芳娜敏静丽强磊军洋");
  std::mt19937 rng(1);
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(people));
  for (int i = 0; i < people; ++i) {
    std::string name = surnames.substr(rng() % 10 * 2, 2) + given.substr(rng() % 10 * 2, 2);
    if (i % 2) name += given.substr(rng() % 10 * 2, 2);
    names.push_back(std::move(name));
  }
  base::rewriteLines(dir / "NameList.txt", names);

  std::vector<std::string> record;
  record.reserve(static_cast<std::size_t>(winners));
  for (int w = 0; w < winners; ++w) {
    const int award = 1 + w % awards;
    const auto& name = names[static_cast<std::size_t>(w)];
    record.push_back(std::to_string(w + 1) + "|" + name + "|" + name + "|" + gbk("奖项") + std::to_string(award) + "|" +
                     std::to_string(award));
  }
  base::rewriteLines(dir / "LuckName.txt", record);
}

// An event of `people` on the roster and `awards` awards of unlimited places,
// loaded as the draw screen loads it, drawing with a fixed seed.
struct LoadedEvent {
  LoadedEvent(std::int64_t people, int awards) : folder(dir.path()) {
    writeEvent(dir.path(), static_cast<int>(people), awards, 1000000000, 0);
    draw::startupLoad(data, folder);
    draw::startupResume(data, folder, false, [](const std::string&) { return false; });
    data.random.seed(1);
  }
  base::IniFile config() const { return folder.configFiles().openConfigOnly(); }

  BenchFolder dir;
  draw::EventFolder folder;
  draw::DrawData data;
};

// The engine's part of a start, into a fresh DrawData. Tearing down the last
// iteration's event is not part of a start and is left out of the time.
void engineStart(benchmark::State& state, const draw::EventFolder& folder, std::optional<draw::DrawData>& data) {
  state.PauseTiming();
  data.reset();
  state.ResumeTiming();
  data.emplace();
  draw::startupLoad(*data, folder);
  auto outcome = draw::startupResume(*data, folder, false, [](const std::string&) { return false; });
  benchmark::DoNotOptimize(outcome);
}

void BM_StartupToStep13(benchmark::State& state) {
  BenchFolder dir;
  writeEvent(dir.path(), 100000, 200, 100, 20000);
  draw::EventFolder folder(dir.path());
  std::optional<draw::DrawData> data;
  for (auto _ : state) engineStart(state, folder, data);
}
BENCHMARK(BM_StartupToStep13)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// The whole start of the draw screen without its window: the engine's part as
// above, the screen's main settings load and the position load, which writes
// the first-run flag back to Config.ini. The Config.ini holds the layout sets of
// all 31 batch sizes, as an event's does after an auto layout.
void BM_StartupWithScreenLoads(benchmark::State& state) {
  BenchFolder dir;
  writeEvent(dir.path(), 100000, 200, 100, 20000);
  draw::EventFolder folder(dir.path());
  const screen::Display display = screen::Display::single(1920, 1080);
  {
    screen::ScreenModel model;
    screen::saveOnExit(folder.configFiles(), model, {}, "2026-12-10 20:00:00");
    base::IniFile config = folder.configFiles().openConfig();
    base::IniBatch batch(config);
    for (int n = 1; n <= 31; ++n)
      for (int k = 1; k <= 30; ++k) {
        const std::string section = std::to_string(n) + "_L" + std::to_string(k);
        config.writeInt(section, gbk("X坐标"), 960);
        config.writeInt(section, gbk("Y坐标"), 540);
      }
  }
  std::optional<draw::DrawData> data;
  for (auto _ : state) {
    engineStart(state, folder, data);
    screen::ScreenModel model;
    screen::loadMainSettings(folder.configFiles(), display, model);
    screen::loadPositions(folder.configFiles(), display, model);
  }
}
BENCHMARK(BM_StartupWithScreenLoads)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_RawReadOfTheStartupFiles(benchmark::State& state) {
  BenchFolder dir;
  writeEvent(dir.path(), 100000, 200, 100, 20000);
  for (auto _ : state) {
    for (const char* file : {"Config.ini", "NameList.txt", "LuckName.txt"}) {
      benchmark::DoNotOptimize(base::readFile(dir.path() / file));
    }
  }
}
BENCHMARK(BM_RawReadOfTheStartupFiles)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// One batch of 30 as the operator draws it, repeat winning off: the start (pool
// build and pick) is timed; the stop's record and log writes run with the timer
// paused, so each start sees the pool the last stop left. The pool shrinks by 30
// per iteration; when nobody is left the whole roster may win again.
void BM_StartOfABatchOf30(benchmark::State& state) {
  LoadedEvent event(state.range(0), 1);
  draw::EventFolder& folder = event.folder;
  draw::DrawData& data = event.data;
  data.settings.repeatWinning = false;
  const base::IniFile config = event.config();
  // The award's first start builds the pool from the roster; BM_FirstStartOfAnAward
  // times that. Here every start is a later one, as in an award of many batches.
  data.state.currentAward = "1";
  draw::buildPool(data, config);
  for (auto _ : state) {
    data.state.currentAward = "1";
    data.state.batchSize = 30;
    draw::buildPool(data, config);
    draw::batchPick(data);
    state.PauseTiming();
    draw::logHeaderIfNewAward(data, folder);
    draw::batchRecord(data, folder);
    if (data.AllNameGrid.rowCount() <= 30) {  // everybody has won: the same event again
      for (std::size_t r = 1; r < data.AllNameList.rowCount(); ++r)
        data.AllNameList.setCell(draw::person::kFlag, r, "N");
    }
    state.ResumeTiming();
  }
}
// A fixed count of batches: the untimed synced record of each would otherwise
// dominate the run once the start is fast.
BENCHMARK(BM_StartOfABatchOf30)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->ArgName("pool")
    ->Iterations(100)
    ->Unit(benchmark::kMicrosecond);

// The first start of an award: the pool is built from the whole roster.
void BM_FirstStartOfAnAward(benchmark::State& state) {
  LoadedEvent event(state.range(0), 2);
  draw::DrawData& data = event.data;
  const base::IniFile config = event.config();
  int award = 1;
  for (auto _ : state) {
    award = 3 - award;  // a different award each time, so the pool is rebuilt
    data.state.currentAward = std::to_string(award);
    data.state.batchSize = 30;
    draw::buildPool(data, config);
    draw::batchPick(data);
  }
}
BENCHMARK(BM_FirstStartOfAnAward)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->ArgName("pool")
    ->Unit(benchmark::kMicrosecond);

// The same with repeat winning on, so every batch sees the whole pool, and
// (with state.range(1)) the record with its synced appends timed too.
void BM_BatchOf30(benchmark::State& state) {
  LoadedEvent event(state.range(0), 1);
  draw::EventFolder& folder = event.folder;
  draw::DrawData& data = event.data;
  const base::IniFile config = event.config();
  const bool record = state.range(1) != 0;
  for (auto _ : state) {
    data.state.currentAward = "1";
    data.state.batchSize = 30;
    draw::buildPool(data, config);
    draw::batchPick(data);
    if (record) {
      draw::logHeaderIfNewAward(data, folder);
      draw::batchRecord(data, folder);
    }
  }
}
BENCHMARK(BM_BatchOf30)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->ArgNames({"pool", "record"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
