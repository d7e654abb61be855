// What the console costs while names roll: the CPU time of the process with the
// draw screen alone, then with the console and its live preview shown beside
// it, then alone again, in one run on copies of the shipped demo event rolling
// at its shipped speed (and at the fastest speed). The preview takes the draw
// screen's own frame, scaled, at most ten times a second. Prints figures only.
//
// Usage: console_preview_bench [dist folder] [seconds per phase]
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise (under
// Xvfb with two screens, QT_QPA_PLATFORM=xcb adds the transfers to the X server).
#include <sys/resource.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/TForm1.h"
#include "console/TConsole.h"
#include "console/draw_preview.h"
#include "event_copy.h"
#include "platform/font_substitutions.h"

namespace {

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Phase {
  double cpuPercent = 0;
  int ticks = 0;
};

Phase roll(TForm1& window, double seconds) {
  int ticks = 0;
  const QMetaObject::Connection counting = QObject::connect(&window.timer(1), &QTimer::timeout, [&ticks] { ++ticks; });
  QElapsedTimer wall;
  const double before = cpuSeconds();
  wall.start();
  QTest::qWait(int(seconds * 1000));
  const double cpu = cpuSeconds() - before;
  QObject::disconnect(counting);
  return {100.0 * cpu / (double(wall.elapsed()) / 1000.0), ticks};
}

void bench(const std::filesystem::path& dist, bool fastest, double seconds) {
  EventCopy event(dist, fastest ? 1 : 2, fastest);
  TForm1 window(event.dir(), nullptr, QSize(1920, 1080));
  window.dialogs().setHeadless(true);
  window.show();
  QTest::qWait(1500);  // past the resolution check one second after start
  QTest::keyClick(&window, Qt::Key_Space);
  QTest::qWait(8000);  // past the speed ramp
  const Phase alone = roll(window, seconds);
  window.showConsole(QGuiApplication::primaryScreen());
  QTest::qWait(500);
  const int previewsBefore = window.console()->preview()->updateCount();
  const Phase withConsole = roll(window, seconds);
  const int previews = window.console()->preview()->updateCount() - previewsBefore;
  window.console()->hide();
  QTest::qWait(500);
  const Phase aloneAgain = roll(window, seconds);
  QTest::keyClick(&window, Qt::Key_Space);
  const double baseline = (alone.cpuPercent + aloneAgain.cpuPercent) / 2;
  std::printf(
      "%s speed, %d ms a tick, %.0f s a phase: draw screen alone %.1f %% CPU (%d ticks), with the console %.1f %% "
      "(%d ticks, %d preview frames, %.1f a second), alone again %.1f %% (%d ticks); console / alone = %.2f\n",
      fastest ? "fastest" : "shipped", window.luck().rollingInterval(), seconds, alone.cpuPercent, alone.ticks,
      withConsole.cpuPercent, withConsole.ticks, previews, previews / seconds, aloneAgain.cpuPercent, aloneAgain.ticks,
      baseline > 0 ? withConsole.cpuPercent / baseline : 0.0);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  const std::filesystem::path dist = argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::path(KV_DIST_DIR);
  const double seconds = argc > 2 ? std::stod(argv[2]) : 5.0;
  bench(dist, false, seconds);
  bench(dist, true, seconds);
  return 0;
}
