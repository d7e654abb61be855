// Figures for the file layer, each measured side by side with its baseline:
//  - the draw screen's exit save (screen::saveOnExit of a default screen) into
//    a Config.ini that already holds the layout sets of all 31 batch sizes,
//    against writing that whole file once;
//  - reading a 100,000-line GBK roster into lines, against reading its bytes
//    alone (base::readFile, one read of the whole file).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "screen/state/screen_settings.h"

namespace fs = std::filesystem;

namespace {

fs::path benchFolder() {
  static fs::path folder = [] {
    fs::path dir = fs::temp_directory_path() / "kv_base_bench";
    fs::create_directories(dir);
    return dir;
  }();
  return folder;
}

// A Config.ini holding the layout sets of all 31 batch sizes: about 2,000 keys.
std::string layoutConfig() {
  std::string text;
  for (int n = 1; n <= 31; ++n) {
    for (int k = 1; k <= 30; ++k)
      text += "[" + std::to_string(n) + "_L" + std::to_string(k) + "]\r\nX" + base::utf8ToGbk("坐标") + "=960\r\nY" +
              base::utf8ToGbk("坐标") + "=540\r\n";
    text += "[" + std::to_string(n) + "_S1]\r\nFont.Color=65535\r\nFont.Size=30\r\nFont.Name=\r\n";
  }
  text += "[L31]\r\nX=1\r\n";
  return text;
}

const std::string& configBytes() {
  static const std::string bytes = layoutConfig();
  return bytes;
}

void ExitSaveIntoLargeConfig(benchmark::State& state) {
  const base::ConfigFiles files(benchFolder());
  const screen::ScreenModel model;
  for (auto _ : state) {
    state.PauseTiming();
    base::writeFileAtomically(files.configPath(), configBytes());
    state.ResumeTiming();
    screen::saveOnExit(files, model, {}, "2026-12-10 20:00:00");
  }
  const std::string saved = base::readFile(files.configPath());
  state.counters["file_bytes"] = static_cast<double>(saved.size());
}
BENCHMARK(ExitSaveIntoLargeConfig)->Unit(benchmark::kMillisecond);

void WriteWholeConfigOnce(benchmark::State& state) {
  fs::path path = benchFolder() / "Config_whole.ini";
  for (auto _ : state) base::writeFileAtomically(path, configBytes());
}
BENCHMARK(WriteWholeConfigOnce)->Unit(benchmark::kMillisecond);

fs::path rosterFile() {
  static fs::path path = [] {
    fs::path file = benchFolder() / "NameList_100k.txt";
    std::mt19937 random(1);
    const std::string chars = base::utf8ToGbk("王李张刘陈杨黄赵吴周伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超");
    std::string text;
    for (int i = 0; i < 100000; ++i) {
      int length = 2 + static_cast<int>(random() % 2);
      for (int c = 0; c < length; ++c) text.append(chars, (random() % (chars.size() / 2)) * 2, 2);
      text += "\r\n";
    }
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }();
  return path;
}

void ReadRosterIntoLines(benchmark::State& state) {
  fs::path path = rosterFile();
  for (auto _ : state) {
    auto lines = base::readLines(path);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(ReadRosterIntoLines)->Unit(benchmark::kMillisecond);

void ReadRosterBytesOnly(benchmark::State& state) {
  fs::path path = rosterFile();
  for (auto _ : state) {
    auto bytes = base::readFile(path);
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(ReadRosterBytesOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
