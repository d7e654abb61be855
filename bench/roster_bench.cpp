// The roster editor's list operations on a 100,000-line roster, each next to a
// plain std::vector<std::string> pass over the same lines in the same run, and
// the conversion of the whole text to the editor's UTF-8 and back. Prints
// figures only; the machine is shared, so take the ratios, not the times.
//
// Usage: roster_bench [lines]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/gbk.h"
#include "draw/random_source.h"
#include "draw/roster_edit.h"

using Clock = std::chrono::steady_clock;

namespace {

// Names of two to four Chinese characters, most with a number; repeats among them.
draw::Lines makeRoster(std::size_t count) {
  const std::string family = base::utf8ToGbk("张李王赵刘陈杨黄周吴徐孙胡朱高林何郭马罗");
  const std::string given = base::utf8ToGbk("伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰");
  std::mt19937 random(42);
  draw::Lines lines;
  lines.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 10 && random() % 10 == 0) {
      lines.push_back(lines[random() % i]);
      continue;
    }
    std::string name = family.substr(2 * (random() % (family.size() / 2)), 2);
    const int length = 1 + static_cast<int>(random() % 3);
    for (int k = 0; k < length; ++k) name += given.substr(2 * (random() % (given.size() / 2)), 2);
    if (i % 3 != 0) name += std::to_string(i % 100);  // a third stay bare, many of two characters
    lines.push_back(std::move(name));
  }
  return lines;
}

// Best of several runs of `work` on a fresh copy of the lines, in milliseconds.
double bestOf(const draw::Lines& lines, const std::function<void(draw::Lines&)>& work) {
  double best = 1e300;
  for (int run = 0; run < 7; ++run) {
    draw::Lines copy = lines;
    const auto start = Clock::now();
    work(copy);
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return best;
}

void report(const char* operation, double ms, const char* baselineLabel, double baselineMs) {
  std::printf("%-26s %8.2f ms   baseline (%s) %8.2f ms   ratio %.2f\n", operation, ms, baselineLabel, baselineMs,
              ms / baselineMs);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? static_cast<std::size_t>(std::atol(argv[1])) : 100000;
  const draw::Lines roster = makeRoster(count);
  std::printf("roster of %zu lines; best of 7 runs each; the machine is shared, figures are noisy\n\n", count);

  std::size_t sink = 0;
  // The baseline of each row is the same work written plainly on a
  // std::vector<std::string>, as one would without the editor's rules.
  const double plainDedup = bestOf(roster, [&](draw::Lines& l) {
    std::unordered_set<std::string> seen;
    draw::Lines kept;
    for (std::string& line : l)
      if (seen.insert(line).second) kept.push_back(std::move(line));
    sink += kept.size();
  });
  const double dedup = bestOf(roster, [&](draw::Lines& l) { sink += draw::removeDuplicates(l).size(); });
  report("remove duplicates", dedup, "unordered_set, keep firsts", plainDedup);

  const double plainEqual = bestOf(roster, [&](draw::Lines& l) {
    for (std::string& line : l)
      if (line.size() == 4) line = line.substr(0, 2) + "  " + line.substr(2);
  });
  const double equal = bestOf(roster, draw::equalizeLengths);
  report("equal-length names", equal, "split 4-byte lines at 2", plainEqual);

  std::mt19937_64 engine(1);
  const double plainShuffle = bestOf(roster, [&](draw::Lines& l) {
    for (std::size_t i = l.size(); i-- > 1;)
      std::swap(l[i], l[std::uniform_int_distribution<std::size_t>(0, i - 1)(engine)]);
  });
  draw::RandomSource random(1);
  const double shuffle = bestOf(roster, [&](draw::Lines& l) { draw::shuffleLines(l, random); });
  report("shuffle", shuffle, "same swaps, inline engine", plainShuffle);

  std::string joined;
  for (const std::string& line : roster) joined += line + '\n';
  const double plainConvert =
      bestOf(roster, [&](draw::Lines&) { sink += base::utf8ToGbk(base::gbkToUtf8(joined)).size(); });
  const double roundTrip =
      bestOf(roster, [&](draw::Lines&) { sink += draw::editorToGbk(draw::gbkToEditor(joined)).size(); });
  report("text GBK->editor->GBK", roundTrip, "plain iconv both ways", plainConvert);
  std::printf("\n(copies of the roster made before each timed run are not timed)  %zu\n", sink % 10);
  return 0;
}
