// The winners record LuckName.txt as a crash, a full disk or another machine
// may leave it. Promises checked: start-up either reads it or says why in a
// message, never escapes with an error (the operator's answer to a damaged
// line alternates with the input's length); when it reads it, no award counts
// more than it has records for, nobody holds two records (repeat winning is
// off), and the draw goes on from there.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>

#include "draw/event_folder.h"
#include "event_run.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzzing::ScratchFolder& dir = fuzzing::scratch();
  dir.clear();
  dir.write("Config.ini",
            "[\xBD\xB1\xCF\xEE\xC9\xE8\xD6\xC3]\r\n"  // [奖项设置]
            "1=1|A|2|1||P||\r\n"
            "2=2|B|3|2||Q||\r\n"
            "[\xC4\xDA\xB6\xA8\xC9\xE8\xD6\xC3]\r\n"  // [内定设置]
            "Open=1\r\n"
            "1=1|2|b|1|A\r\n"
            "[\xBD\xE7\xC3\xE6\xC9\xE8\xD6\xC3]\r\n"    // [界面设置]
            "\xD6\xD8\xB8\xB4\xD6\xD0\xBD\xB1=0\r\n"    // 重复中奖=0
            "\xB3\xE9\xBD\xB1\xD7\xBC\xB1\xB8=0\r\n");  // 抽奖准备=0
  dir.write("NameList.txt", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n");
  dir.write("LuckName.txt", std::string_view(reinterpret_cast<const char*>(data), size));

  draw::EventFolder folder(dir.path());
  folder.dateTimeText = [] { return std::string("2026-12-08 20:15:03"); };
  fuzzing::EventRun run;
  run.view.answer = size % 2 == 1;
  fuzzing::runEvent(folder, run, 4);
  if (run.started) {
    int counted = 0;
    for (std::size_t r = 1; r <= run.data.awardRowCount(); ++r) counted += std::stoi(run.data.ItemGrid.cell(8, r));
    if (counted > static_cast<int>(run.data.winnerCount())) fuzzing::broken("awards count more winners than records");
    std::set<std::string> people;
    for (std::size_t r = 1; r <= run.data.winnerCount(); ++r)
      if (!people.insert(run.data.LuckNameGrid.cell(0, r)).second) fuzzing::broken("a person holds two records");
  }
  return 0;
}
