// judgeserve_load JUDGESERVE PAGE
//
// Figures of the judges' phone server, measured on 127.0.0.1 with judgeserve on a
// fresh event of 20 judges and 30 programmes:
//   - submission to file: the time from sending a score until the server's reply,
//     which it sends only after the scoring file was replaced and synced (p50,
//     p99, max), with 20 judges sending at once, each at 1 score a second, then
//     each at 8 a second (a burst beyond any real show: it finds the ceiling);
//   - baselines of the same run: a state request (no file write) under no load,
//     and the one-key rewrite alone, in this process, without HTTP;
//   - the server's resident memory and CPU share while idle and under that load.
// Afterwards it checks that every score of the load is in the file.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "judge_client.h"
#include "scoring/core/score_submission.h"
#include "scoring/core/scoring_file.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kJudges = 20;
constexpr int kProgrammes = 30;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Usage {
  long rssKb = 0;
  long cpuTicks = 0;
};

Usage usageOf(pid_t pid) {
  Usage usage;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) usage.rssKb = std::atol(line.c_str() + 6);
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), {});
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::atol(field.c_str());
    if (i == 15) {
      stime = std::atol(field.c_str());
      break;
    }
  }
  usage.cpuTicks = utime + stime;
  return usage;
}

void printPercentiles(const std::string& label, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  auto at = [&](double q) { return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))]; };
  std::cout << label << ": n=" << values.size() << " p50=" << at(0.5) << " ms p99=" << at(0.99)
            << " ms max=" << values.back() << " ms\n";
}

void printUsage(const std::string& label, const Usage& before, const Usage& after, double seconds) {
  const double cpu = 100.0 * (after.cpuTicks - before.cpuTicks) / sysconf(_SC_CLK_TCK) / seconds;
  std::cout << label << ": RSS " << after.rssKb / 1024.0 << " MiB, CPU " << cpu << " % of one core over " << seconds
            << " s\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: judgeserve_load JUDGESERVE PAGE\n";
    return 2;
  }
  const fs::path event = fs::temp_directory_path() / ("kv_judgeserve_load_" + std::to_string(::getpid()));
  fs::create_directories(event / "data");
  {
    std::string config = base::utf8ToGbk("[节目设置]\r\n");
    for (int p = 1; p <= kProgrammes; ++p)
      config +=
          std::to_string(p) + "=" + std::to_string(p) + "|" + base::utf8ToGbk("节目" + std::to_string(p)) + "|\r\n";
    config += base::utf8ToGbk("[评委设置]\r\n");
    for (int j = 1; j <= kJudges; ++j)
      config += std::to_string(j) + "=" + base::utf8ToGbk("评委" + std::to_string(j)) + "\r\n";
    base::writeFileAtomically(event / "Config.ini", config);
  }
  base::IniFile config(event / "Config.ini");
  const fs::path file = scoring::defaultScoringFile(event);
  const std::string blank = scoring::blankScoringFile(scoring::readProgrammes(config), scoring::readJudges(config),
                                                      scoring::FileLayout::ByProgramme);
  base::writeFileAtomically(file, blank);

  // Baseline: the one-key rewrite alone, on a copy of the file.
  {
    const fs::path copy = event / "baseline" / "scores.txt";
    fs::create_directories(copy.parent_path());
    base::writeFileAtomically(copy, blank);
    std::vector<double> rewrite;
    for (int i = 0; i < 200; ++i) {
      auto start = Clock::now();
      scoring::writeJudgeScore(
          copy,
          {std::to_string(i % kProgrammes + 1), base::utf8ToGbk("节目" + std::to_string(i % kProgrammes + 1)), ""},
          base::utf8ToGbk("评委1"), std::to_string(i % 10));
      rewrite.push_back(ms(Clock::now() - start));
    }
    printPercentiles("baseline one-key rewrite in process (fsync + rename)", rewrite);
  }

  judge_client::Server server(argv[1], event, argv[2], kJudges);
  if (server.port() == 0) {
    std::cerr << "judgeserve did not start\n";
    return 2;
  }
  std::vector<std::string> tokens;
  for (int j = 1; j <= kJudges; ++j) tokens.push_back(server.tokens().at("评委" + std::to_string(j)));

  Usage idleStart = usageOf(server.pid());
  std::this_thread::sleep_for(std::chrono::seconds(2));
  printUsage("server idle", idleStart, usageOf(server.pid()), 2.0);

  std::vector<double> stateLatency;
  for (int i = 0; i < 100; ++i) {
    auto start = Clock::now();
    judge_client::request(server.port(), "GET", "/j/" + tokens[static_cast<std::size_t>(i % kJudges)] + "/state");
    stateLatency.push_back(ms(Clock::now() - start));
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  printPercentiles("baseline state request, no load (reads both files, no write)", stateLatency);

  // One load: every judge sends `count` scores, one every `interval`, all at once.
  std::atomic<int> refused{0};
  auto load = [&](const std::string& label, int count, std::chrono::milliseconds interval) {
    std::vector<std::vector<double>> latency(kJudges);
    Usage loadStart = usageOf(server.pid());
    auto loadBegin = Clock::now();
    std::vector<std::thread> judges;
    for (int j = 0; j < kJudges; ++j)
      judges.emplace_back([&, j] {
        auto next = Clock::now();
        for (int p = 1; p <= count; ++p) {
          next += interval;
          std::this_thread::sleep_until(next);
          auto start = Clock::now();
          auto reply =
              judge_client::request(server.port(), "POST", "/j/" + tokens[static_cast<std::size_t>(j)] + "/score",
                                    "programme=" + std::to_string(p) + "&score=" + std::to_string((j + p) % 10));
          latency[static_cast<std::size_t>(j)].push_back(ms(Clock::now() - start));
          if (reply.status != 200) ++refused;
        }
      });
    Usage loadMiddle{};
    std::thread sampler([&] {
      std::this_thread::sleep_for(interval * count / 2);
      loadMiddle = usageOf(server.pid());
    });
    for (auto& judge : judges) judge.join();
    sampler.join();
    Usage loadEnd = usageOf(server.pid());
    loadEnd.rssKb = std::max(loadEnd.rssKb, loadMiddle.rssKb);
    std::vector<double> all;
    for (const auto& one : latency) all.insert(all.end(), one.begin(), one.end());
    printPercentiles("submission to file, " + label, all);
    printUsage("server under " + label, loadStart, loadEnd, ms(Clock::now() - loadBegin) / 1000.0);
  };
  load("20 judges at once, 1 score/s each", 8, std::chrono::milliseconds(1000));
  load("20 judges at once, 8 scores/s each (a burst)", kProgrammes, std::chrono::milliseconds(125));
  server.stop();

  int missing = 0;
  scoring::ScoreSheet sheet = scoring::ScoreSheet::load(file);
  for (int j = 0; j < kJudges; ++j)
    for (int p = 1; p <= kProgrammes; ++p)
      if (sheet.score({std::to_string(p), base::utf8ToGbk("节目" + std::to_string(p)), ""},
                      base::utf8ToGbk("评委" + std::to_string(j + 1))) != std::to_string((j + p) % 10))
        ++missing;
  std::cout << "refused submissions: " << refused << ", scores missing from the file: " << missing << " of "
            << kJudges * kProgrammes << "\n";
  fs::remove_all(event);
  return 0;
}
