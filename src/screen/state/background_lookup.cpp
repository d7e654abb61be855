#include "screen/state/background_lookup.h"

#include "base/gbk.h"
#include "base/paths.h"

namespace screen {

namespace fs = std::filesystem;

namespace {}  // namespace

fs::path defaultBackgroundPicture(const fs::path& programDir) {
  return base::joinGbk(programDir, base::utf8ToGbk("backpic\\欢庆.jpg"));
}

fs::path findBackgroundPicture(const fs::path& programDir, const std::string& gbkStoredName) {
  if (!gbkStoredName.empty()) {
    fs::path stored(base::gbkToUtf8(gbkStoredName));
    // A relative stored name is taken relative to the program directory, never the
    // current folder of whoever started the program.
    fs::path asGiven = stored.is_absolute() ? stored : programDir / stored;
    if (base::isFile(asGiven)) return asGiven;
    fs::path inBackpic = base::joinGbk(programDir / "backpic", gbkStoredName);
    if (base::isFile(inBackpic)) return inBackpic;
  }
  return defaultBackgroundPicture(programDir);
}

}  // namespace screen
