#include "draw/paired_writes.h"

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "draw/draw_texts.h"
#include "draw/event_files.h"

namespace draw {

using base::gbk;

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

void pairedWrite(const EventFolder& folder, const std::function<void(base::IniFile&)>& changeConfig,
                 const std::function<void()>& writeRecord, const std::string& what) {
  const std::filesystem::path configPath = folder.configFiles().configPath();
  const std::optional<std::string> before = base::readFileIfExists(configPath);
  base::IniFile config = folder.configFiles().openConfig();
  changeConfig(config);
  try {
    writeRecord();
  } catch (const base::FileError& failure) {
    try {
      if (before) {
        base::writeFileAtomically(configPath, *before);
      } else {
        std::error_code ec;
        std::filesystem::remove(configPath, ec);
        if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, configPath, base::describeError(ec));
      }
    } catch (const base::FileError&) {
      throw base::FileError(failure.kind(), failure.path(),
                            failure.reason() + "。" + what + "没有完成,但已记在 " + configPath.filename().string() +
                                " 中:下次启动程序时会自动完成这次" + what + "(届时会再提示)");
    }
    throw base::FileError(failure.kind(), failure.path(), failure.reason() + "。" + what + "没有进行,一切保持原样");
  }
  dropNote(config);
}

std::optional<std::string> finishInterruptedWrites(const EventFolder& folder) {
  base::IniFile config = folder.configFiles().openConfigOnly();
  if (!config.hasSection(unfinishedSection())) return std::nullopt;
  std::string done;
  if (config.readBool(unfinishedSection(), keyCleared(), false)) {
    truncateWinnersRecord(folder);
    done = gbk("上次重新开始抽奖时没有清空中奖记录 LuckName.txt,现已清空,抽奖从头开始。");
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
      done = gbk("上次的弃奖没有完成,现已完成:已从中奖记录 LuckName.txt 中去掉 ") + base::excerptForMessage(line) +
             gbk(" 。");
    }
  }
  dropNote(config);
  if (done.empty()) return std::nullopt;
  return done;
}

}  // namespace draw
