#pragma once
// Shared pieces of the dialog tests: a small event on disk, a batch drawn through
// the real window, and driving the modal dialog a command opens.
#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/TForm1.h"
#include "base/delimited_row.h"
#include "base/text_file.h"
#include "test_folder.h"
#include "window_event.h"

namespace dialog_testing {

using testing_support::gbk;

struct AwardRow {
  const char* name;
  int places;
  int batch;
};

// An event of the given awards and `people` people named 员工1 …, sounds off,
// draw order 0, no award preparation and no delayed winners display.
inline void writeEvent(const testing_support::TestFolder& folder, const std::vector<AwardRow>& awards, int people = 12,
                       bool repeatWinning = false) {
  std::vector<window_testing::Award> rows;
  for (const AwardRow& award : awards) rows.push_back({award.name, award.places, award.batch});
  window_testing::WindowEvent(rows)
      .set("界面设置",
           {"隐私_check=0", "抽奖顺序=0", "抽奖准备=0", "分组显示名单=0", repeatWinning ? "重复中奖=1" : "重复中奖=0"})
      .set("窗体样式", {"窗体宽=1280", "窗体高=720"})
      .people(people)
      .write(folder);
}

// One batch: start and stop.
inline void drawBatch(TForm1& window) {
  QTest::keyClick(&window, Qt::Key_Space);
  QTest::keyClick(&window, Qt::Key_Space);
}

// Runs `drive` on the modal dialog of type D that the next command opens, then
// rejects it if `drive` left it open.
template <typename D>
void whenOpened(std::function<void(D&)> drive) {
  QTimer::singleShot(0, [drive] {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    QVERIFY2(dialog != nullptr, "the command opened no dialog of the expected class");
    drive(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

// Award serials of the winner records, in order.
inline std::vector<int> recordAwards(const draw::DrawData& data) {
  std::vector<int> awards;
  for (std::size_t r = 1; r <= data.winnerCount(); ++r)
    awards.push_back(std::stoi(data.LuckNameGrid.cell(draw::winner::kAwardSerial, r)));
  return awards;
}

}  // namespace dialog_testing
