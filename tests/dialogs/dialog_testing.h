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
                       bool repeatWinning = false, const std::string& extra = {}) {
  std::string config = gbk("[奖项设置]\r\n");
  for (std::size_t i = 0; i < awards.size(); ++i) {
    const std::string serial = std::to_string(i + 1);
    config += serial + "=" +
              base::writeDelimitedRow({serial, gbk(awards[i].name), std::to_string(awards[i].places),
                                       std::to_string(awards[i].batch), "", gbk("奖品"), "", ""}) +
              "\r\n";
  }
  config += gbk("[界面设置]\r\n隐私_check=0\r\n抽奖顺序=0\r\n抽奖准备=0\r\n分组显示名单=0\r\n重复中奖=") +
            (repeatWinning ? "1" : "0") +
            gbk("\r\n[音效设置]\r\n背景音乐_check=0\r\n抽奖开始_check=0\r\n抽奖停止_check=0\r\n"
                "[窗体样式]\r\n窗体宽=1280\r\n窗体高=720\r\n") +
            gbk(extra);
  folder.write("Config.ini", config);
  std::vector<std::string> names;
  for (int i = 1; i <= people; ++i) names.push_back(gbk("员工") + std::to_string(i));
  base::rewriteLines(folder / "NameList.txt", names);
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
