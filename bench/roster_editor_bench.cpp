// The roster windows at event size, measured side by side in one run:
//  - opening the roster editor on a 100,000-line NameList.txt to its first
//    paint, against a bare QPlainTextEdit given the same text;
//  - list operations through the editor's menu (text to lines, the operation,
//    the text replaced as one undo step) and the save;
//  - importing 100 photos of 4000 × 3000 into the picture roster's photo folder
//    (reduced-size JPEG decode), against decoding each at full size and scaling.
// Prints figures only; the machine is shared, so they are noisy.
//
// Usage: roster_editor_bench [lines] [photos]
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "base/gbk.h"
#include "base/text_file.h"
#include "dialogs/TnameList.h"
#include "dialogs/photo_import.h"
#include "platform/font_substitutions.h"
#include "screen/dialog_service.h"
#include "test_photos.h"
#include "ui_TnameList.h"

namespace fs = std::filesystem;

namespace {

// Waits for the widget's first paint after show().
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QWidget* watched) { watched->installEventFilter(this); }
  bool painted = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

double untilPainted(QWidget& shown, QWidget* painted, QElapsedTimer& clock) {
  FirstPaint watch(painted);
  shown.show();
  while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
  return clock.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  const int lineCount = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int photoCount = argc > 2 ? std::atoi(argv[2]) : 100;
  QTemporaryDir dir;
  const fs::path programDir = fs::path(dir.path().toStdString());

  std::vector<std::string> names;
  for (int i = 0; i < lineCount; ++i)
    names.push_back(base::utf8ToGbk(i % 7 == 0 ? "张三" : "员工") + std::to_string(i % 90000));
  base::rewriteLines(programDir / "NameList.txt", names);
  std::printf("roster of %d lines, %d photos of 4000 x 3000; the machine is shared, figures are noisy\n\n", lineCount,
              photoCount);

  screen::DialogService dialogs;
  dialogs.setHeadless(true);
  draw::RandomSource random(1);
  {
    QElapsedTimer clock;
    clock.start();
    QPlainTextEdit bare;
    std::string text;
    for (const std::string& n : base::readLines(programDir / "NameList.txt")) text += base::gbkToUtf8(n) + '\n';
    bare.setPlainText(QString::fromStdString(text));
    bare.resize(560, 500);
    const double bareMs = untilPainted(bare, bare.viewport(), clock);

    clock.restart();
    dialogs::TnameList editor(programDir, dialogs, random);
    const double editorMs = untilPainted(editor, editor.memo()->viewport(), clock);
    std::printf("%-34s %8.1f ms   baseline (bare QPlainTextEdit, same text) %8.1f ms   ratio %.2f\n",
                "open the editor to first paint", editorMs, bareMs, editorMs / bareMs);

    const std::pair<const char*, QAction*> operations[] = {{"remove duplicates (menu)", editor.form().N18},
                                                           {"equal-length names (menu)", editor.form().N19},
                                                           {"shuffle (menu)", editor.form().N20},
                                                           {"trim (menu)", editor.form().N17},
                                                           {"save NameList.txt", editor.form().N12}};
    for (const auto& [label, action] : operations) {
      clock.restart();
      action->trigger();
      QApplication::processEvents();
      std::printf("%-34s %8.1f ms   (%zu lines after)\n", label, clock.nsecsElapsed() / 1e6, editor.lines().size());
    }
    clock.restart();
    bare.setPlainText(bare.toPlainText());
    QApplication::processEvents();
    std::printf("%-34s %8.1f ms\n", "baseline: bare setPlainText again", clock.nsecsElapsed() / 1e6);
    editor.setAttribute(Qt::WA_DeleteOnClose, false);
    dialogs.setNextChoice(screen::DialogService::Choice::No);
    editor.close();
  }

  // Photos: 4 distinct pictures, the rest hard links, so the disk holds little.
  const fs::path in = programDir / "in";
  fs::create_directories(in);
  std::vector<fs::path> sources;
  for (int i = 0; i < photoCount; ++i) {
    const fs::path file = in / ("p" + std::to_string(i) + ".jpg");
    if (i < 4) {
      bench_support::writeJpeg(file, bench_support::makeCameraPhoto(i), 90);
    } else {
      fs::create_hard_link(in / ("p" + std::to_string(i % 4) + ".jpg"), file);
    }
    sources.push_back(file);
  }
  QElapsedTimer clock;
  clock.start();
  for (const fs::path& source : sources)
    dialogs::writeScaledPhoto(source, programDir / "photo" / source.filename(), 300);
  const double reduced = clock.nsecsElapsed() / 1e6;
  clock.restart();
  for (const fs::path& source : sources) {
    fs::create_directories(programDir / "full");
    bench_support::writeJpeg(programDir / "full" / source.filename(), dialogs::scaledPhotoFullDecode(source, 300),
                             dialogs::kPhotoQuality);
  }
  const double full = clock.nsecsElapsed() / 1e6;
  std::printf(
      "\n%-34s %8.1f ms (%.1f ms a photo)   baseline (full-size decode + scale + write) %8.1f ms   ratio %.2f\n",
      "import photos, reduced decode", reduced, reduced / photoCount, full, reduced / full);
  return 0;
}
