#pragma once
// The files of one event in the program directory, and the clock whose text
// dates the draw log. The program directory is always passed in; nothing here
// looks at the current directory.
#include <filesystem>
#include <functional>
#include <string>

#include "base/config_files.h"

namespace draw {

class EventFolder {
 public:
  explicit EventFolder(std::filesystem::path programDir);

  const std::filesystem::path& programDir() const { return programDir_; }
  const base::ConfigFiles& configFiles() const { return configFiles_; }

  // NameList.txt in text draw mode, PicList.txt in picture draw mode.
  std::filesystem::path rosterPath(bool textDraw) const;
  std::filesystem::path winnersRecordPath() const;  // LuckName.txt
  std::filesystem::path logPath() const;            // log.txt
  // The note of the batch being recorded, beside the winners record (batch_note.h).
  std::filesystem::path batchNotePath() const;  // LuckName.txt.pending

  // "date time" text for the draw log header lines; tests replace it to fix the text.
  std::function<std::string()> dateTimeText;

 private:
  std::filesystem::path programDir_;
  base::ConfigFiles configFiles_;
};

}  // namespace draw
