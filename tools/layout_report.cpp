// Prints where everything stands on the draw screen at a given screen size, as
// the audience sees it after the first start: the real window runs offscreen on
// a copy of an event folder (the shipped files unless --event names one), the
// start-up's resolution check runs its auto layout (a question is answered Yes),
// the first batch is drawn so the captions hold what a draw writes, and then,
// for each batch size, that size's layout is loaded and its frames filled.
//
//   layout_report --size WxH [--picture] [--award-rolling] [--batch N | --as-drawn] [--event DIR] [--crowded]
//   layout_report --size WxH --display winners|prize|ranking|details [--event DIR] [--crowded]
//   add --shot FILE.png to either form to save what the audience sees (the
//   display, or the draw screen at the one batch size of --batch) as a picture.
//
// One line per visible element and frame, UTF-8:
//   ELEMENT <batch> <object name> <left> <top> <width> <height>
// With --display, that display opened by its command after the first batch,
// one line per element it shows (for the winners display one per drawn line of
// text, for the ranking display each bar with its score and name, for the
// details display each photo and score label), the batch field holding the
// display's name. --as-drawn reports the draw screen as the first batch left it,
// with the names drawn (batch field "drawn"). --crowded first fills the event copy with long names, an
// award of 60 places, 20 judges and 30 programmes.
#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/TForm1.h"
#include "app/audience_view.h"
#include "app/display_fixtures.h"
#include "app/display_view.h"
#include "platform/font_substitutions.h"
#include "screen/dialog_service.h"
#include "screen/state/auto_layout.h"
#include "test_folder.h"

namespace fs = std::filesystem;

namespace {

struct Options {
  QSize size;
  bool picture = false;
  bool awardRolling = false;
  int batch = 0;  // 0: every batch size 1 … 31
  bool asDrawn = false;
  fs::path event = KV_DIST_DIR;
  std::optional<display_view::Display> display;
  bool crowded = false;
  QString shot;
};

int usage(const char* program) {
  std::fprintf(stderr,
               "usage: %s --size WxH [--picture] [--award-rolling] [--batch N | --as-drawn] [--event DIR] [--crowded]\n"
               "       %s --size WxH --display winners|prize|ranking|details [--event DIR] [--crowded]\n"
               "       (either form may add --shot FILE.png)\n",
               program, program);
  return 2;
}

bool parse(int argc, char* argv[], Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--size" && hasValue) {
      int w = 0, h = 0;
      if (std::sscanf(argv[++i], "%dx%d", &w, &h) != 2 || w < 200 || h < 200) return false;
      options.size = QSize(w, h);
    } else if (arg == "--picture") {
      options.picture = true;
    } else if (arg == "--award-rolling") {
      options.awardRolling = true;
    } else if (arg == "--batch" && hasValue) {
      options.batch = std::atoi(argv[++i]);
      if (options.batch < 1 || options.batch > 31) return false;
    } else if (arg == "--as-drawn") {
      options.asDrawn = true;
    } else if (arg == "--event" && hasValue) {
      options.event = argv[++i];
    } else if (arg == "--display" && hasValue) {
      options.display = display_view::parseDisplay(argv[++i]);
      if (!options.display) return false;
    } else if (arg == "--crowded") {
      options.crowded = true;
    } else if (arg == "--shot" && hasValue) {
      options.shot = QString::fromLocal8Bit(argv[++i]);
    } else {
      return false;
    }
  }
  return options.size.isValid();
}

}  // namespace

int main(int argc, char* argv[]) {
  Options options;
  if (!parse(argc, argv, options)) return usage(argv[0]);
  if (!fs::is_directory(options.event)) {
    std::fprintf(stderr, "no event folder %s\n", options.event.string().c_str());
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  screen::DialogService::setHeadlessByDefault(true);

  testing_support::TestFolder folder;
  fs::copy(options.event, folder.path(), fs::copy_options::recursive);
  if (options.crowded) display_fixtures::makeCrowded(folder.path());
  audience_view::quietenEvent(folder.path());
  audience_view::setModes(folder.path(), !options.picture, !options.awardRolling);

  TForm1 window(folder.path(), nullptr, options.size);
  if (screen::resolutionCheck(window.model()) == screen::ResolutionAction::AskOperator)
    window.dialogs().setNextAnswer(true);  // "是否自动排版?"
  window.timer(3).start(0);
  QElapsedTimer waited;
  waited.start();
  while (window.timer(3).isActive() && waited.elapsed() < 10000) QCoreApplication::processEvents();
  audience_view::drawFirstBatch(window);

  QTextStream out(stdout);
  if (options.display) {
    std::function<void(screen::DisplayStage&)> grab;
    if (!options.shot.isEmpty()) grab = [&](screen::DisplayStage& stage) { stage.grab().save(options.shot); };
    for (const audience_view::Element& e : display_view::openAndCollect(window, *options.display, grab))
      out << "ELEMENT " << display_view::displayName(*options.display) << ' ' << e.name << ' ' << e.box.x() << ' '
          << e.box.y() << ' ' << e.box.width() << ' ' << e.box.height() << '\n';
    return 0;
  }
  if (options.asDrawn) {
    for (const audience_view::Element& e : audience_view::visibleElements(window))
      out << "ELEMENT drawn " << e.name << ' ' << e.box.x() << ' ' << e.box.y() << ' ' << e.box.width() << ' '
          << e.box.height() << '\n';
    if (!options.shot.isEmpty()) window.grab().save(options.shot);
    return 0;
  }
  const int first = options.batch > 0 ? options.batch : 1;
  const int last = options.batch > 0 ? options.batch : 31;
  for (int n = first; n <= last; ++n) {
    audience_view::showBatch(window, n);
    for (const audience_view::Element& e : audience_view::visibleElements(window))
      out << "ELEMENT " << n << ' ' << e.name << ' ' << e.box.x() << ' ' << e.box.y() << ' ' << e.box.width() << ' '
          << e.box.height() << '\n';
  }
  if (!options.shot.isEmpty()) window.grab().save(options.shot);
  return 0;
}
