// The picture roster PicList.txt in picture draw mode: any bytes, lines ended by
// CR LF, LF or CR, each line a person whose name is also a photo's file name.
// Promises checked: every line is one person; start-up and a few batches in
// people rolling or award rolling run on any roster, with any batch size the
// first byte chooses (beyond 30 the draw refuses with its message).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text_file.h"
#include "draw/event_folder.h"
#include "event_run.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const fuzzing::ScratchFolder& dir = fuzzing::scratch();
  dir.clear();
  const bool peopleRolling = (data[0] & 0x80) == 0;
  const std::string batch = std::to_string(data[0] % 40);
  const std::string config =
      "[\xB4\xB0\xCC\xE5\xD1\xF9\xCA\xBD]\r\n"  // [窗体样式]
      "\xB3\xE9\xBD\xB1\xC4\xA3\xCA\xBD=0\r\n"  // 抽奖模式=0: picture draw
      "\xB9\xF6\xB6\xAF\xC4\xA3\xCA\xBD=" +     // 滚动模式
      std::string(peopleRolling ? "1" : "0") +
      "\r\n"
      "[\xBD\xB1\xCF\xEE\xC9\xE8\xD6\xC3]\r\n"  // [奖项设置]
      "1=1|A|3|" +
      batch +
      "||P||\r\n"
      "2=2|B|2|1||Q||\r\n";
  dir.write("Config.ini", config);
  std::string_view roster(reinterpret_cast<const char*>(data) + 1, size - 1);
  dir.write("PicList.txt", roster);

  draw::EventFolder folder(dir.path());
  folder.dateTimeText = [] { return std::string("2026-12-08 20:15:03"); };
  fuzzing::EventRun run;
  fuzzing::runEvent(folder, run, 4);
  // A roster that is not GBK text is told and drawn on; only a missing one stops the start-up.
  if (!run.started) fuzzing::broken("a roster that exists stopped the start-up");
  if (run.data.AllNameList.rowCount() != base::splitLines(roster).size() + 1)
    fuzzing::broken("the full roster is not one row per line");
  return 0;
}
