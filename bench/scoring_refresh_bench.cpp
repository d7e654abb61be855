// One refresh of the displays' reading for 30 programmes × 20 judges, every
// score filled: parse of the scoring file, all averages, ranks and the current
// programme with its marks and result line. Measured against a bare read of
// the same file's bytes in the same run. Prints figures only.
//
// Usage: scoring_refresh_bench [iterations]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "scoring/core/scoring_file.h"
#include "scoring/core/scoring_refresh.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double medianMicros(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

template <typename Work>
std::vector<double> time(int iterations, Work work) {
  std::vector<double> samples;
  samples.reserve(static_cast<std::size_t>(iterations));
  for (int i = 0; i < iterations; ++i) {
    const auto start = Clock::now();
    work();
    samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  const fs::path dir = fs::temp_directory_path() / ("scoring_refresh_bench_" + std::to_string(std::random_device()()));
  fs::create_directories(dir / "data");

  std::vector<scoring::Programme> programmes;
  std::vector<std::string> judges;
  for (int p = 1; p <= 30; ++p)
    programmes.push_back({std::to_string(p), base::utf8ToGbk("节目") + std::to_string(p), base::utf8ToGbk("表演者")});
  for (int j = 1; j <= 20; ++j) judges.push_back(base::utf8ToGbk("评委") + std::to_string(j));
  {
    base::IniFile config(dir / "Config.ini");
    scoring::ScoringSetup setup;
    setup.programmes = programmes;
    setup.judges = judges;
    setup.dropHighest = setup.dropLowest = true;
    scoring::storeSetup(config, setup);
  }
  // The blank file with every entry filled, as the operator leaves it at the end of a show.
  std::mt19937 random(7);
  std::string file;
  for (const std::string& line :
       base::splitLines(scoring::blankScoringFile(programmes, judges, scoring::FileLayout::ByProgramme))) {
    file += line;
    if (!line.empty() && line.back() == '=')
      file += std::to_string(60 + random() % 40) + "." + std::to_string(random() % 10);
    file += "\r\n";
  }
  const fs::path scores = dir / "data" / "评分文件.txt";
  base::writeFileAtomically(scores, file);

  const scoring::ScoringInputs inputs = scoring::readInputs(base::IniFile(dir / "Config.ini"), dir);
  std::size_t sink = 0;
  const auto bare = time(iterations, [&] { sink += base::readFile(scores).size(); });
  const auto refresh = time(iterations, [&] {
    scoring::ScoringReading reading = scoring::readScores(inputs, dir, true, true);
    sink += reading.averages.size() + reading.current->judges.size();
  });
  const auto withLists = time(iterations, [&] {
    scoring::ScoringInputs fresh = scoring::readInputs(base::IniFile(dir / "Config.ini"), dir);
    sink += scoring::readScores(fresh, dir, true, true).averages.size();
  });

  std::printf("scoring file: %zu bytes, 30 programmes x 20 judges, %d iterations (medians; machine shared, noisy)\n",
              file.size(), iterations);
  std::printf("  baseline: bare read of the file               %8.1f us\n", medianMicros(bare));
  std::printf("  one refresh: parse + 30 averages + ranks + current programme   %8.1f us\n", medianMicros(refresh));
  std::printf("  the same with the lists re-read from Config.ini (ranking display)  %8.1f us\n",
              medianMicros(withLists));
  std::printf("  refresh / bare read: %.1fx  (sink %zu)\n", medianMicros(refresh) / medianMicros(bare), sink);
  std::error_code ec;
  fs::remove_all(dir, ec);
  return 0;
}
