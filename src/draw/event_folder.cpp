#include "draw/event_folder.h"

#include "base/ini_file.h"
#include "base/paths.h"

namespace draw {

namespace fs = std::filesystem;

EventFolder::EventFolder(fs::path programDir)
    : dateTimeText(base::currentDateTimeText), programDir_(std::move(programDir)), configFiles_(programDir_) {}

fs::path EventFolder::rosterPath(bool textDraw) const {
  return base::findIgnoringCase(programDir_, textDraw ? "NameList.txt" : "PicList.txt");
}

fs::path EventFolder::winnersRecordPath() const { return base::findIgnoringCase(programDir_, "LuckName.txt"); }

fs::path EventFolder::batchNotePath() const { return programDir_ / "LuckName.txt.pending"; }

fs::path EventFolder::logPath() const { return base::findIgnoringCase(programDir_, "log.txt"); }

}  // namespace draw
