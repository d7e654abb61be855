// Figures for the draw engine on a large event: the start-up from the files
// (the engine alone and with the screen's loads, against reading the same files'
// bytes), and the start of a batch of 30 as the pool grows: a later start of an
// award, the first start of one, with repeat winning off and on, the slices of
// a pool written ahead, and the whole press of the space bar through the draw
// control. A start must fit in a frame (16 ms) at 1,000,000 people.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>
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
#include "draw/startup.h"
#include "draw/headless_view.h"
#include "draw/lifecycle.h"
#include "draw/luck.h"
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
// two- and three-character names and a winners record of `winners` lines;
// `settings` lines (UTF-8) go to "[界面设置]", `extra` lines end Config.ini.
void writeEvent(const fs::path& dir, int people, int awards, int places, int winners,
                const std::vector<std::string>& extra = {}, const std::vector<std::string>& settings = {}) {
  std::string config = gbk("[界面设置]") + "\r\n" + gbk("抽奖顺序=0") + "\r\n";
  for (const auto& line : settings) config += gbk(line.c_str()) + "\r\n";
  config += gbk("[奖项设置]") + "\r\n";
  for (int a = 1; a <= awards; ++a) {
    config += std::to_string(a) + "=" +
              base::writeDelimitedRow({std::to_string(a), gbk("奖项") + std::to_string(a), std::to_string(places), "30",
                                       "", gbk("奖品 ") + std::to_string(a), "", ""}) +
              "\r\n";
  }
  for (const auto& line : extra) config += gbk(line.c_str()) + "\r\n";
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

// Award a of `awards` is drawn from roster serials a … the end, so that no two
// consecutive awards share a pool: the first start of each needs rows of its own.
std::vector<std::string> shiftedGroups(int awards) {
  std::vector<std::string> lines{"[奖项分组]"};
  for (int a = 1; a <= awards; ++a) lines.push_back(std::to_string(a) + "_B=" + std::to_string(a));
  return lines;
}

// An event of `people` on the roster and `awards` awards of unlimited places,
// each with its own group range, loaded as the draw screen loads it, drawing
// with a fixed seed.
struct LoadedEvent {
  LoadedEvent(std::int64_t people, int awards) : folder(dir.path()) {
    writeEvent(dir.path(), static_cast<int>(people), awards, 1000000000, 0, shiftedGroups(awards));
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

// The first start of an award, whose pool differs from the last award's. With
// ahead (range 1), the draw was idle after the last award's final stop and the
// pool was written ahead then (untimed; BM_PoolAheadSlices times it), as the
// draw screen does; without (0), the start builds the pool from the whole
// roster itself: the baseline, what a start costs without the pool written ahead.
void BM_FirstStartOfAnAward(benchmark::State& state) {
  LoadedEvent event(state.range(0), 2);
  draw::DrawData& data = event.data;
  const bool ahead = state.range(1) != 0;
  const base::IniFile config = event.config();
  draw::PoolAhead poolAhead;
  int award = 1;
  for (auto _ : state) {
    award = 3 - award;  // a different award each time, with another group range
    if (ahead) {
      state.PauseTiming();
      if (poolAhead.plan(data, config, std::to_string(award)))
        while (poolAhead.step(data, 4096)) {
        }
      state.ResumeTiming();
    }
    data.state.currentAward = std::to_string(award);
    data.state.batchSize = 30;
    draw::buildPool(data, config, &poolAhead);
    draw::batchPick(data);
  }
}
// A fixed count: the untimed pool written ahead would otherwise make the run
// last as many times longer as it takes longer than the start.
BENCHMARK(BM_FirstStartOfAnAward)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 0}})
    ->ArgNames({"pool", "ahead"})
    ->Iterations(30)
    ->Unit(benchmark::kMicrosecond);

// The pool of the next award written ahead as the draw control writes it: slices
// of at most 4 ms of rows, written 4096 at a time between looks at the clock.
// Time is the whole build; "longest_slice_ms" the longest slice in the
// thread's own CPU time, which is what the user-interface thread is held for at
// once (a slice's wall time also counts the time other programs took the core),
// "longest_slice_wall_ms" the same on the wall clock, and "slices" their number.
void BM_PoolAheadSlices(benchmark::State& state) {
  LoadedEvent event(state.range(0), 2);
  draw::DrawData& data = event.data;
  const base::IniFile config = event.config();
  draw::PoolAhead poolAhead;
  using Clock = std::chrono::steady_clock;
  auto threadMs = [] {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
  };
  double longest = 0;
  double longestWall = 0;
  int slices = 0;
  int award = 1;
  for (auto _ : state) {
    award = 3 - award;
    poolAhead.plan(data, config, std::to_string(award));
    for (bool more = true; more;) {
      const double cpu = threadMs();
      const auto start = Clock::now();
      const auto until = start + std::chrono::milliseconds(4);
      while (more && Clock::now() < until) more = poolAhead.step(data, 4096);
      longest = std::max(longest, threadMs() - cpu);
      longestWall = std::max(longestWall, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      ++slices;
    }
  }
  state.counters["longest_slice_ms"] = longest;
  state.counters["longest_slice_wall_ms"] = longestWall;
  state.counters["slices"] = benchmark::Counter(slices, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PoolAheadSlices)->Arg(10000)->Arg(100000)->Arg(1000000)->ArgName("pool")->Unit(benchmark::kMillisecond);

// A batch of 30 with repeat winning on, so every batch draws from the whole
// pool again: the start (pool and pick) is timed, and with record (range 1) the
// stop too, with its synced appends and the winners put back into the pool;
// without, the stop runs with the timer paused.
void BM_BatchOf30(benchmark::State& state) {
  LoadedEvent event(state.range(0), 1);
  draw::EventFolder& folder = event.folder;
  draw::DrawData& data = event.data;
  const base::IniFile config = event.config();
  const bool record = state.range(1) != 0;
  data.state.currentAward = "1";
  draw::buildPool(data, config);
  for (auto _ : state) {
    data.state.currentAward = "1";
    data.state.batchSize = 30;
    draw::buildPool(data, config);
    draw::batchPick(data);
    if (!record) state.PauseTiming();
    draw::logHeaderIfNewAward(data, folder);
    draw::batchRecord(data, folder);
    if (!record) state.ResumeTiming();
  }
}
BENCHMARK(BM_BatchOf30)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->ArgNames({"pool", "record"})
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

// The whole press of the space bar that starts a batch, through the draw control
// with a headless screen: the award choice, Config.ini read for the group range,
// the pool, the pick, the frames. Each stop (untimed) finishes an award of 30
// places when first (range 1) is set, so that every start is the first of an
// award whose pool differs from the last one's, and the draw then idles until
// the pool is written ahead; otherwise the award has unlimited places.
void BM_StartCommand(benchmark::State& state) {
  BenchFolder dir;
  const int people = static_cast<int>(state.range(0));
  const bool first = state.range(1) != 0;
  const bool repeatWinning = state.range(2) != 0;
  const int awards = first ? 200 : 1;
  std::vector<std::string> extra = shiftedGroups(awards);
  extra.insert(extra.end(), {"[音效设置]", "背景音乐_check=0", "抽奖开始_check=0", "抽奖停止_check=0"});
  writeEvent(dir.path(), people, awards, first ? 30 : 1000000000, 0, extra,
             {repeatWinning ? "重复中奖=1" : "重复中奖=0", "抽奖准备=0", "分组显示名单=0"});
  draw::EventFolder folder(dir.path());
  draw::DrawData data;
  draw::HeadlessView view;
  draw::Luck luck(data, folder, view);
  draw::startUp(data, folder, view, luck);
  data.random.seed(1);
  auto idle = [&] {
    while (view.timerOn(draw::DrawTimer::PoolAhead)) luck.poolAheadTimer();
  };
  idle();
  for (auto _ : state) {
    luck.startStopCommand();
    state.PauseTiming();
    luck.startStopCommand();
    idle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartCommand)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 0}, {0, 1}})
    ->ArgNames({"pool", "first", "repeat"})
    ->Iterations(30)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
