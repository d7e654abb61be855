// The winners display for all awards of an event with 10,000 winners, opened by
// F10 on the real draw screen (in-process): composing the text, the time from
// the key to the first painted frame of the scrolling text, the memory the open
// display adds (PSS), and the CPU share and tick gaps while it scrolls, each at
// 5 names per row and with the per-row key missing (99999, one line per award).
// The baseline is the draw screen idle in the same run. Prints figures only;
// the machine is shared, so they are noisy.
//
// Usage: winners_display_bench [dist folder] [scroll seconds]
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/TForm1.h"
#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "displays/TShowPanel.h"
#include "draw/winners_text.h"
#include "platform/font_substitutions.h"
#include "styledtext/TSmoothScrollText.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using base::utf8ToGbk;

namespace {

const QSize kDesktop(1920, 1080);
constexpr int kAwards = 10;
constexpr int kPerAward = 1000;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Proportional set size of this process in MB.
double pssMb() {
  std::ifstream rollup("/proc/self/smaps_rollup");
  std::string key;
  long kb = 0;
  while (rollup >> key) {
    if (key == "Pss:") {
      rollup >> kb;
      break;
    }
  }
  return kb / 1024.0;
}

// The shipped demo files with ten awards of 1,000 places all drawn: 10,000
// winners out of 12,000 people, sounds off.
fs::path makeEvent(const fs::path& dist) {
  const fs::path dir = fs::temp_directory_path() / ("kv_winners_bench_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::copy(dist, dir, fs::copy_options::recursive);
  fs::copy_file(dir / "SysConfig.ini", dir / "Config.ini");
  base::IniFile config(dir / "Config.ini");
  base::IniBatch batch(config);
  for (const char* key : {"背景音乐_check", "抽奖开始_check", "抽奖停止_check", "中奖结果展示_check"})
    config.writeInt(utf8ToGbk("音效设置"), utf8ToGbk(key), 0);
  const std::string section = utf8ToGbk("奖项设置");
  config.eraseSection(section);
  for (int a = 1; a <= kAwards; ++a)
    config.writeString(section, std::to_string(a),
                       base::writeDelimitedRow({std::to_string(a), utf8ToGbk("奖项") + std::to_string(a),
                                                std::to_string(kPerAward), "10", "", utf8ToGbk("奖品"), "", ""}));
  std::vector<std::string> roster, records;
  for (int i = 1; i <= 12000; ++i) roster.push_back(utf8ToGbk(i % 3 ? "员工" : "欧阳员工") + std::to_string(i));
  for (int i = 1; i <= kAwards * kPerAward; ++i) {
    const int award = kAwards - (i - 1) / kPerAward;
    const std::string& name = roster[std::size_t(i - 1)];
    records.push_back(std::to_string(i) + "|" + name + "|" + name + "|" + utf8ToGbk("奖项") + std::to_string(award) +
                      "|" + std::to_string(award));
  }
  base::rewriteLines(dir / "NameList.txt", roster);
  base::rewriteLines(dir / "LuckName.txt", records);
  return dir;
}

void setPerRow(const fs::path& dir, int perRow) {
  base::IniFile config(dir / "Config.ini");
  if (perRow == draw::kAllOnOneLine)
    config.deleteKey("NameList", utf8ToGbk("每行个数"));
  else
    config.writeInt("NameList", utf8ToGbk("每行个数"), perRow);
}

struct Idle {
  double pss = 0;
  double cpuShare = 0;
};

Idle idleBaseline(double seconds) {
  const double before = cpuSeconds();
  const auto start = Clock::now();
  QTest::qWait(int(seconds * 1000));
  const double wall = msSince(start) / 1000.0;
  return {pssMb(), (cpuSeconds() - before) / wall * 100.0};
}

void benchDisplay(TForm1& window, const fs::path& dir, int perRow, const Idle& idle, double seconds) {
  setPerRow(dir, perRow);
  {
    const auto start = Clock::now();
    const std::string text = draw::composeWinnersText(window.drawData(), "0", perRow, false);
    const double ms = msSince(start);
    std::printf("per row %d: compose %.1f ms, %zu bytes, %ld lines\n", perRow, ms, text.size(),
                long(std::count(text.begin(), text.end(), '\n')));
  }
  Clock::time_point pressed;
  window.dialogs().setNextDisplay([&](screen::DisplayStage& stage) {
    const double shown = msSince(pressed);  // settings loaded, text composed and laid out, shown full screen
    auto& panel = static_cast<displays::TShowPanel&>(stage);
    styledtext::TSmoothScrollText* text = panel.nameText();
    bool painted = false;
    double widestGap = 0;
    int paints = 0;
    auto last = Clock::now();
    bool moving = false;  // past the pause at the start of the pass
    Clock::time_point firstStep;
    QObject::connect(text, &styledtext::TSmoothScrollText::OnPainted, text, [&] {
      painted = true;
      ++paints;
      if (moving) widestGap = std::max(widestGap, msSince(last));
      if (!moving && text->offset() != 0) {
        moving = true;
        firstStep = Clock::now();
      }
      last = Clock::now();
    });
    while (!painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    const double firstPaint = msSince(pressed);
    QTest::qWait(200);
    const double pss = pssMb();
    std::printf(
        "per row %d: F10 to first painted frame %.1f ms (window shown after %.1f ms); text box %d x %d, %zu lines; PSS "
        "%.1f MB, +%.1f MB over "
        "the idle draw screen\n",
        perRow, firstPaint, shown, text->width(), text->height(), text->Text().Lines.size(), pss, pss - idle.pss);
    // Scrolling: the first pass starts with the 2-second pause.
    const int offsetBefore = text->offset();
    paints = 0;
    widestGap = 0;
    const double cpuBefore = cpuSeconds();
    const auto start = Clock::now();
    last = start;
    QTest::qWait(int(seconds * 1000));
    const double wall = msSince(start) / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;
    const double movingMs = moving ? msSince(firstStep) : 0;
    std::printf(
        "per row %d: scrolling %.1f s at %d ms per step: offset %d -> %d, %d paints; %.0f ms after the first step "
        "(the pass starts with a 2 s pause) %d steps were due; widest gap between paints since %.1f ms; CPU %.1f %% "
        "of one core (idle draw screen %.1f %%); lines kept drawn %zu; PSS %.1f MB\n",
        perRow, wall, text->ScrollDelay(), offsetBefore, text->offset(), paints, movingMs,
        int(movingMs / std::max(1, text->ScrollDelay())) + 1, widestGap, cpu / wall * 100.0, idle.cpuShare,
        text->keptLines(), pssMb());
    panel.close();
  });
  pressed = Clock::now();
  QTest::keyClick(&window, Qt::Key_F10);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const fs::path dist = argc > 1 ? fs::path(argv[1]) : fs::path(KV_DIST_DIR);
  const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
  const fs::path dir = makeEvent(dist);
  {
    QApplication app(argc, argv);
    platform::installFontSubstitutions();
    screen::DialogService::setHeadlessByDefault(true);
    TForm1 window(dir, nullptr, kDesktop);
    window.show();
    QTest::qWait(1500);  // past the resolution check one second after start
    std::printf("event: %zu winners over %d awards\n", window.drawData().winnerCount(), kAwards);
    const Idle idle = idleBaseline(seconds);
    std::printf("idle draw screen: PSS %.1f MB, CPU %.1f %% of one core over %.0f s\n", idle.pss, idle.cpuShare,
                seconds);
    for (int perRow : {5, draw::kAllOnOneLine}) benchDisplay(window, dir, perRow, idle, seconds);
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  return 0;
}
