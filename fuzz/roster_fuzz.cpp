// The roster NameList.txt: any bytes, lines ended by CR LF, LF or CR.
// Promises checked: every line is one person, whatever bytes it holds; the
// privacy mask and a draw on the roster run on any name.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/text_file.h"
#include "draw/event_folder.h"
#include "event_run.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const fuzzing::ScratchFolder& dir = fuzzing::scratch();
  dir.clear();
  // The first two bytes choose the masked bytes, as an operator might set them.
  const std::string config =
      "[\xBD\xE7\xC3\xE6\xC9\xE8\xD6\xC3]\r\n"  // [界面设置]
      "\xD2\xFE\xCB\xBD_check=1\r\n"            // 隐私_check
      "\xD2\xFE\xCB\xBD_begin=" +
      std::to_string(data[0] % 12) +
      "\r\n"
      "\xD2\xFE\xCB\xBD_end=" +
      std::to_string(data[1] % 12) +
      "\r\n"
      "[\xBD\xB1\xCF\xEE\xC9\xE8\xD6\xC3]\r\n"  // [奖项设置]
      "1=1|A|3|2||P||\r\n";
  dir.write("Config.ini", config);
  std::string_view roster(reinterpret_cast<const char*>(data) + 2, size - 2);
  dir.write("NameList.txt", roster);

  draw::EventFolder folder(dir.path());
  folder.dateTimeText = [] { return std::string("2026-12-08 20:15:03"); };
  fuzzing::EventRun run;
  fuzzing::runEvent(folder, run, 4);
  if (!run.started) fuzzing::broken("a roster that exists stopped the start-up");
  const std::size_t lines = base::splitLines(roster).size();
  // The draw took winners out of the working roster; the full roster keeps everyone.
  if (run.data.AllNameList.rowCount() != lines + 1) fuzzing::broken("the full roster is not one row per line");
  return 0;
}
