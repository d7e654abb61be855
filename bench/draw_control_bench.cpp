// Figures for the draw control:
//  - the engine's part of one rolling tick for 30 frames, and for the big frame
//    with 200 names, in microseconds: the names are chosen and handed to a
//    headless view that paints nothing, so this is not the tick the screen
//    shows and is not to be set against the 20 ms of the fastest speed (the
//    draw screen benchmark times the tick with its repaint);
//  - a whole event of 2,000 winners in batches of 10, commands and files as the
//    headless driver runs them.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "draw/headless_view.h"
#include "draw/startup.h"

namespace fs = std::filesystem;

namespace {

fs::path makeEvent(const std::string& name, int people, int places, int batch) {
  fs::path dir = fs::temp_directory_path() / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::string config = base::utf8ToGbk("[奖项设置]\r\n1=") +
                       base::writeDelimitedRow({"1", base::utf8ToGbk("一等奖"), std::to_string(places),
                                                std::to_string(batch), "", "x", "", ""}) +
                       base::utf8ToGbk(
                           "\r\n[界面设置]\r\n重复中奖=0\r\n隐私_check=0\r\n分组显示名单=0\r\n"
                           "[音效设置]\r\n背景音乐_check=0\r\n抽奖开始_check=0\r\n抽奖停止_check=0\r\n");
  base::writeFileAtomically(dir / "Config.ini", config);
  std::vector<std::string> roster;
  for (int i = 1; i <= people; ++i) roster.push_back(base::utf8ToGbk("员工") + std::to_string(i));
  base::rewriteLines(dir / "NameList.txt", roster);
  return dir;
}

struct Engine {
  draw::EventFolder folder;
  draw::DrawData data;
  draw::HeadlessView view;
  draw::Luck luck{data, folder, view};
  explicit Engine(const fs::path& dir) : folder(dir) { draw::startUp(data, folder, view, luck); }
};

void RollingTickEngineOnlyNoPaint(benchmark::State& state) {
  const int batch = static_cast<int>(state.range(0));
  fs::path dir = makeEvent("kv_bench_tick_" + std::to_string(batch), 5000, batch, batch);
  Engine engine(dir);
  engine.luck.startStopCommand();
  for (auto _ : state) engine.luck.Timer1Timer();
  state.counters["frames"] = batch;
}
BENCHMARK(RollingTickEngineOnlyNoPaint)->Arg(30)->Arg(200)->Unit(benchmark::kMicrosecond);

void WholeEvent2000Winners(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    fs::path dir = makeEvent("kv_bench_event", 3000, 2000, 10);
    state.ResumeTiming();
    Engine engine(dir);
    for (int command = 0; command < 401; ++command) {
      engine.luck.startStopCommand();
      for (int tick = 0; engine.luck.rolling() && tick < 3; ++tick) engine.luck.Timer1Timer();
    }
    if (engine.data.winnerCount() != 2000) state.SkipWithError("the event did not draw 2,000 winners");
  }
}
BENCHMARK(WholeEvent2000Winners)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
