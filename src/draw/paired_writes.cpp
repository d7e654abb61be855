#include "draw/paired_writes.h"

#include "base/conversion_error.h"
#include "base/text_file.h"
#include "draw/draw_texts.h"
#include "draw/event_files.h"

namespace draw {

using texts::gbk;

namespace {
const std::string& keyRecord() {
  static const std::string key = gbk("弃奖记录");
  return key;
}
const std::string& keyRow() {
  static const std::string key = gbk("弃奖行号");
  return key;
}
const std::string& keyRecordsAfter() {
  static const std::string key = gbk("弃奖后记录数");
  return key;
}
const std::string& keyCleared() {
  static const std::string key = gbk("清空中奖记录");
  return key;
}
}  // namespace

const std::string& unfinishedSection() {
  static const std::string section = gbk("未完成操作");
  return section;
}

void noteWinnerRemoval(base::IniFile& config, std::size_t row, const std::string& line, std::size_t recordsAfter) {
  config.writeString(unfinishedSection(), keyRecord(), line);
  config.writeString(unfinishedSection(), keyRow(), std::to_string(row));
  config.writeString(unfinishedSection(), keyRecordsAfter(), std::to_string(recordsAfter));
}

void noteWinnersRecordCleared(base::IniFile& config) { config.writeString(unfinishedSection(), keyCleared(), "1"); }

void dropNote(base::IniFile& config) {
  if (config.hasSection(unfinishedSection())) config.eraseSection(unfinishedSection());
}

bool finishInterruptedWrites(const EventFolder& folder) {
  base::IniFile config = folder.configFiles().openConfigOnly();
  if (!config.hasSection(unfinishedSection())) return false;
  if (config.readBool(unfinishedSection(), keyCleared(), false)) {
    truncateWinnersRecord(folder);
  } else if (config.hasKey(unfinishedSection(), keyRecord())) {
    const std::string line = config.readString(unfinishedSection(), keyRecord(), "");
    const auto row = base::parseInt(config.readString(unfinishedSection(), keyRow(), ""));
    const auto after = base::parseInt(config.readString(unfinishedSection(), keyRecordsAfter(), ""));
    std::optional<std::string> bytes = base::readFileIfExists(folder.winnersRecordPath());
    std::vector<std::string> lines = bytes ? base::splitLines(*bytes) : std::vector<std::string>{};
    if (row && after && *row >= 1 && *after >= 0 && lines.size() == static_cast<std::size_t>(*after) + 1 &&
        static_cast<std::size_t>(*row) <= lines.size() && lines[static_cast<std::size_t>(*row) - 1] == line) {
      lines.erase(lines.begin() + (*row - 1));
      base::rewriteLines(folder.winnersRecordPath(), lines);
    }
  }
  dropNote(config);
  return true;
}

}  // namespace draw
