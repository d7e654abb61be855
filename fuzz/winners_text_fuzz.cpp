// The winners display's text, composed from whatever winners record start-up
// accepted. Promises checked: composing never escapes with an error, for one
// award or all of them in either order and at any per-row count, and every line
// of the text ends with a line feed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "draw/event_folder.h"
#include "draw/winners_text.h"
#include "event_run.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const fuzzing::ScratchFolder& dir = fuzzing::scratch();
  dir.clear();
  dir.write("Config.ini",
            "[\xBD\xB1\xCF\xEE\xC9\xE8\xD6\xC3]\r\n"  // [奖项设置]
            "1=1|A|2|1||P||\r\n"
            "2=2|\xD2\xBB\xB5\xC8\xBD\xB1|3|2||Q||\r\n"
            "[\xBD\xE7\xC3\xE6\xC9\xE8\xD6\xC3]\r\n"    // [界面设置]
            "\xD6\xD8\xB8\xB4\xD6\xD0\xBD\xB1=1\r\n");  // 重复中奖=1
  dir.write("NameList.txt", "a\r\n\xD5\xC5\xC8\xFD\r\nccc\r\n");
  dir.write("LuckName.txt", std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));

  draw::EventFolder folder(dir.path());
  folder.dateTimeText = [] { return std::string("2026-12-08 20:15:03"); };
  fuzzing::EventRun run;
  fuzzing::runEvent(folder, run, 0);
  if (!run.started) return 0;
  const int perRow = data[0] == 0xFF ? draw::kAllOnOneLine : data[0] % 12;
  for (const char* shown : {"0", "1", "2", "9"}) {
    for (const bool lastToFirst : {false, true}) {
      const std::string text = draw::composeWinnersText(run.data, shown, perRow, lastToFirst);
      if (!text.empty() && text.back() != '\n') {
        std::fprintf(stderr, "broken promise: a line without its line feed\n");
        std::abort();
      }
    }
  }
  return 0;
}
