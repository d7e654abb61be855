// CPU share of the scoring displays while they move, each over the same wall
// time: the ranking display during its opening animation (30 bars growing one
// pixel per 10 ms tick), and the score details display while three judges'
// score labels flash (their scores rewritten every 5 s, so three flashes keep
// running). Baseline in the same run: an idle full-screen window for the same
// time. CPU share = (user + system time of this process) / wall time.
//
// Usage: scoring_display_bench [seconds per measurement, default 10]
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "platform/font_substitutions.h"
#include "scoring/TPorShow.h"
#include "scoring/TShowEvery.h"
#include "scoring/core/scoring_file.h"

namespace fs = std::filesystem;

namespace {

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs the event loop for `seconds` with `during` called every 5 s; returns the CPU share.
double measure(double seconds, const std::function<void()>& during = {}) {
  QTimer poke;
  if (during) {
    QObject::connect(&poke, &QTimer::timeout, during);
    poke.start(5000);
  }
  const double cpuStart = cpuSeconds();
  QElapsedTimer wall;
  wall.start();
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
  loop.exec();
  return (cpuSeconds() - cpuStart) / (wall.elapsed() / 1000.0);
}

std::string scoresFile(const std::vector<scoring::Programme>& programmes, const std::vector<std::string>& judges,
                       int variant) {
  std::string file;
  int entry = 0;
  for (const std::string& line :
       base::splitLines(scoring::blankScoringFile(programmes, judges, scoring::FileLayout::ByProgramme))) {
    file += line;
    if (!line.empty() && line.back() == '=') {
      // Judges 1 to 3 of programme 1 change with every variant.
      const int score = entry < 3 ? 70 + variant % 2 * 5 + entry : 60 + (entry * 7) % 40;
      file += std::to_string(score);
      ++entry;
    }
    file += "\r\n";
  }
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 10.0;
  const fs::path dir = fs::temp_directory_path() / ("scoring_display_bench_" + std::to_string(std::random_device()()));
  fs::create_directories(dir / "data");

  std::vector<scoring::Programme> programmes;
  std::vector<std::string> judges;
  for (int p = 1; p <= 30; ++p)
    programmes.push_back({std::to_string(p), base::utf8ToGbk("节目") + std::to_string(p), ""});
  for (int j = 1; j <= 20; ++j) judges.push_back(base::utf8ToGbk("评委") + std::to_string(j));
  {
    base::IniFile config(dir / "Config.ini");
    scoring::ScoringSetup setup;
    setup.programmes = programmes;
    setup.judges = judges;
    setup.dropHighest = setup.dropLowest = true;
    setup.fullScore = "100";
    scoring::storeSetup(config, setup);
    config.writeString(base::utf8ToGbk("音效设置"), base::utf8ToGbk("节目排名展示_check"), "0");
    config.writeString(base::utf8ToGbk("音效设置"), base::utf8ToGbk("节目评分明细_check"), "0");
    config.writeString(base::utf8ToGbk("音效设置"), base::utf8ToGbk("评委打分变动_check"), "0");
  }
  const fs::path scores = dir / "data" / "评分文件.txt";
  base::writeFileAtomically(scores, scoresFile(programmes, judges, 0));

  screen::DialogService dialogs;
  dialogs.setHeadless(true);
  scoring::DisplayContext context;
  context.programDir = dir;
  context.dialogs = &dialogs;
  context.look.mainTitle = base::utf8ToGbk("公司年会节目评分");
  context.area = QRect(0, 0, 1920, 1080);

  std::printf("platform %s, %.0f s per measurement (machine shared with other work: figures are noisy)\n",
              qPrintable(QGuiApplication::platformName()), seconds);
  {
    QWidget idle;
    idle.resize(context.area.size());
    idle.show();
    std::printf("  baseline: idle full-screen window              CPU %5.1f %%\n", 100 * measure(seconds));
  }
  {
    scoring::TPorShow ranking(context);
    ranking.show();
    const double share = measure(seconds);
    std::printf("  ranking display, opening animation             CPU %5.1f %%  (still animating at the end: %s)\n",
                100 * share, ranking.animationTimer().isActive() ? "yes" : "no");
  }
  {
    scoring::TShowEvery details(context);
    details.show();
    int variant = 0;
    auto rewrite = [&] { base::writeFileAtomically(scores, scoresFile(programmes, judges, ++variant)); };
    rewrite();
    const double share = measure(seconds, rewrite);
    int flashing = 0;
    for (int k = 1; k <= scoring::TShowEvery::kJudges; ++k) flashing += details.flashTimer(k).isActive() ? 1 : 0;
    std::printf("  details display, three score labels flashing   CPU %5.1f %%  (flashing at the end: %d)\n",
                100 * share, flashing);
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  return 0;
}
