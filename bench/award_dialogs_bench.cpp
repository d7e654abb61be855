// The award settings dialog with 200 awards and the predetermined dialog with a
// 100,000-line roster and 500 predetermined rows: construction to the first
// painted frame, and the save (OK, close), each against reading and writing the
// same INI keys (and roster) directly in the same run. Medians of several runs;
// other processes on the machine make the figures noisy. Prints figures only.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "dialogs/TLuckPerson.h"
#include "dialogs/TSysItem.h"
#include "draw/award_setup.h"
#include "draw/event_files.h"
#include "draw/predetermined_lists.h"
#include "platform/font_substitutions.h"
#include "screen/state/award_screen_settings.h"
#include "test_folder.h"

using Clock = std::chrono::steady_clock;
using base::utf8ToGbk;

namespace {

constexpr int kRuns = 7;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double timeMs(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void writeEvent(const testing_support::TestFolder& dir) {
  std::string config = utf8ToGbk("[奖项设置]\r\n");
  for (int i = 1; i <= 200; ++i) {
    const std::string serial = std::to_string(i);
    config += serial + "=" +
              base::writeDelimitedRow({serial, utf8ToGbk("奖项") + serial, std::to_string(i * 3), "5", "",
                                       utf8ToGbk("奖品") + serial, utf8ToGbk("嘉宾"), "p" + serial + ".jpg"}) +
              "\r\n";
  }
  config += utf8ToGbk("[界面设置]\r\n滚动速度=0\r\n[内定设置]\r\nOpen=1\r\n");
  for (int i = 1; i <= 500; ++i) {
    const std::string person = std::to_string(i * 100);
    config += std::to_string(i) + "=" +
              base::writeDelimitedRow({std::to_string(i), person, utf8ToGbk("员工") + person,
                                       std::to_string(i % 200 + 1), utf8ToGbk("奖项")}) +
              "\r\n";
  }
  dir.write("Config.ini", config);
  std::vector<std::string> roster;
  roster.reserve(100000);
  for (int i = 1; i <= 100000; ++i) roster.push_back(utf8ToGbk("员工") + std::to_string(i));
  base::rewriteLines(dir / "NameList.txt", roster);
}

void report(const char* what, const std::vector<double>& dialog, const std::vector<double>& direct) {
  std::printf("%-58s %9.2f ms   (direct INI: %7.2f ms, x%.1f)\n", what, median(dialog), median(direct),
              median(dialog) / std::max(median(direct), 1e-6));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  testing_support::TestFolder dir;
  writeEvent(dir);
  draw::EventFolder folder(dir.path());
  draw::DrawData data;
  draw::rosterLoad(folder, data);
  screen::DialogService dialogs;
  dialogs.setHeadless(true);

  std::vector<double> awardOpen, awardSave, awardRead, awardWrite;
  for (int run = 0; run < kRuns; ++run) {
    dialogs::TSysItem* dialog = nullptr;
    awardOpen.push_back(timeMs([&] {
      dialog = new dialogs::TSysItem(data, folder, dialogs, {});
      dialog->show();
      dialog->repaint();
    }));
    awardSave.push_back(timeMs([&] { dialog->accept(); }));
    delete dialog;
    std::vector<draw::awards::Row> rows;
    screen::AwardScreenSettings settings;
    awardRead.push_back(timeMs([&] {
      const base::IniFile config = folder.configFiles().openConfig();
      rows = draw::awards::loadRows(config);
      screen::loadAwardScreenSettings(config, settings);
    }));
    awardWrite.push_back(timeMs([&] {
      base::IniFile config = folder.configFiles().openConfig();
      draw::awards::saveRows(config, rows);
      screen::saveAwardScreenSettings(config, settings);
    }));
  }

  std::vector<double> luckOpen, luckSave, luckRead, luckWrite;
  for (int run = 0; run < kRuns; ++run) {
    dialogs::TLuckPerson* dialog = nullptr;
    luckOpen.push_back(timeMs([&] {
      dialog = new dialogs::TLuckPerson(data, folder, dialogs, {});
      dialog->show();
      dialog->repaint();
    }));
    luckSave.push_back(timeMs([&] { dialog->close(); }));
    delete dialog;
    draw::lists::PersonLists lists;
    draw::lists::Switches switches;
    luckRead.push_back(timeMs([&] {
      const std::vector<std::string> roster = base::readLines(folder.rosterPath(true));
      const base::IniFile config = folder.configFiles().openConfig();
      lists.predetermined = draw::lists::loadPredetermined(config);
      lists.blacklist = draw::lists::loadBlacklist(config);
      switches = draw::lists::loadSwitches(config);
      (void)draw::lists::staleRows(lists.predetermined, roster);
    }));
    luckWrite.push_back(timeMs([&] {
      base::IniFile config = folder.configFiles().openConfig();
      draw::lists::save(config, lists, switches);
    }));
  }

  std::printf("Median of %d runs each; the machine is shared, so figures are noisy.\n", kRuns);
  report("award settings, 200 awards: open to first paint", awardOpen, awardRead);
  report("award settings, 200 awards: OK (save rows and settings)", awardSave, awardWrite);
  report("predetermined, 100,000 roster, 500 rows: open to first paint", luckOpen, luckRead);
  report("predetermined, 100,000 roster, 500 rows: close (save)", luckSave, luckWrite);
  return 0;
}
