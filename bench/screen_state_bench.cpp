// Times the auto layout of all 31 batch sizes (about 2,000 keys held in one
// batch) against writing the resulting Config.ini once. Text is measured by a
// byte-count stand-in, not by font metrics, and the label says so: the
// window's layout with the Qt measurer costs more per name. Prints figures only.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/config_files.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "screen/state/auto_layout.h"
#include "screen/state/screen_settings.h"

namespace {

using Clock = std::chrono::steady_clock;

// Deterministic stand-in for font metrics: half the size per byte, one size per line.
class ByteMeasurer : public screen::TextMeasurer {
 public:
  screen::Size measure(std::string_view text, const screen::TextFont& font) const override {
    std::size_t widest = 0, start = 0;
    int lines = 0;
    while (start < text.size()) {
      std::size_t end = std::min(text.find('\n', start), text.size());
      widest = std::max(widest, end - start);
      ++lines;
      start = end + 1;
    }
    return {static_cast<int>(widest) * font.size / 2, std::max(lines, 1) * font.size};
  }
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "kv_screen_state_bench";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const base::ConfigFiles files(dir);
  const screen::Display display = screen::Display::single(1920, 1080);
  const ByteMeasurer measurer;
  std::vector<std::string> roster;
  for (int i = 0; i < 500; ++i) roster.push_back(base::utf8ToGbk("员工") + std::to_string(i));

  constexpr int kRuns = 21;
  std::vector<double> layoutTimes, writeTimes;
  std::size_t fileBytes = 0, keyLines = 0;
  for (int run = 0; run < kRuns; ++run) {
    fs::remove(files.configPath());
    screen::ScreenModel model;
    screen::saveOnExit(files, model, {}, "2026-12-10 12:00:00");  // a Config.ini as an event has it

    base::IniFile config = files.openConfig();
    const auto start = Clock::now();
    screen::autoLayout(config, {display, measurer, &roster, 8, {}, {}, {}}, model);
    layoutTimes.push_back(millisecondsSince(start));

    const std::string bytes = base::readFile(files.configPath());
    fileBytes = bytes.size();
    keyLines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '='));
    const auto writeStart = Clock::now();
    base::writeFileAtomically(files.configPath(), bytes);
    writeTimes.push_back(millisecondsSince(writeStart));
  }
  const double layout = median(layoutTimes);
  const double write = median(writeTimes);
  std::printf(
      "auto layout, 31 batch sizes, %zu names measured by byte count (no font metrics): %.3f ms (median of %d)\n",
      roster.size(), layout, kRuns);
  std::printf("resulting Config.ini: %zu bytes, %zu keys; one write: %.3f ms\n", fileBytes, keyLines, write);
  std::printf("ratio auto layout / one write: %.1f\n", layout / write);
  fs::remove_all(dir);
  return 0;
}
