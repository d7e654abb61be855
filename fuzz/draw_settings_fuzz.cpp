// Config.ini as the draw reads it: award rows, give-up and supplementary
// counts, predetermined and blacklist rows, award groups and the draw switches,
// from a hand-edited or foreign file. Promises checked: start-up and a few
// batches either run or end in a message, never escape with an error or hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "draw/event_folder.h"
#include "event_run.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzzing::ScratchFolder& dir = fuzzing::scratch();
  dir.clear();
  dir.write("Config.ini", std::string_view(reinterpret_cast<const char*>(data), size));
  dir.write("NameList.txt", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\n");
  dir.write("PicList.txt", "p1\r\np2\r\np3\r\n");

  draw::EventFolder folder(dir.path());
  folder.dateTimeText = [] { return std::string("2026-12-08 20:15:03"); };
  fuzzing::EventRun run;
  fuzzing::runEvent(folder, run, 6);
  return 0;
}
