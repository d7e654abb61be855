#include "draw/torn_lines.h"

#include <ctime>
#include <filesystem>
#include <string_view>

#include "base/gbk.h"
#include "base/text_file.h"
#include "draw/draw_texts.h"

namespace draw {

using texts::gbk;

namespace {

// The operator reads the dropped line to tell who may be missing; a line of
// megabytes would bury the message.
constexpr std::size_t kShownBytes = 120;

std::string timeStamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

std::filesystem::path asideName(const std::filesystem::path& file) {
  const std::string base = file.filename().string() + ".damaged-" + timeStamp();
  std::filesystem::path candidate = file.parent_path() / base;
  std::error_code ec;
  for (int n = 2; std::filesystem::exists(candidate, ec); ++n)
    candidate = file.parent_path() / (base + "-" + std::to_string(n));
  return candidate;
}

// The repair of one file; the notice names it by `what` (GBK).
std::optional<std::string> repairFile(const std::filesystem::path& file, const std::string& what) {
  std::optional<std::string> bytes = base::readFileIfExists(file);
  if (!bytes || bytes->empty()) return std::nullopt;
  const char last = bytes->back();
  if (last == '\n' || last == '\r') return std::nullopt;

  const std::size_t end = bytes->find_last_of("\r\n");
  const std::size_t keep = end == std::string::npos ? 0 : end + 1;
  const std::filesystem::path aside = asideName(file);
  base::writeFileAtomically(aside, *bytes);
  base::writeFileAtomically(file, std::string_view(*bytes).substr(0, keep));

  std::string_view dropped = std::string_view(*bytes).substr(keep);
  std::string shown(base::prefixAtCharBoundary(dropped, kShownBytes));
  if (shown.size() < dropped.size()) shown += "...";
  return what + " " + file.filename().string() +
         gbk(" 的最后一行没有写完整(上次写入时断电、程序被关闭或磁盘已满),已去掉这一行:") + "\r\n    " + shown +
         "\r\n" + gbk("原文件已另存为 ") + aside.filename().string() + gbk("。") + "\r\n";
}

}  // namespace

std::optional<std::string> repairTornLastLines(const EventFolder& folder) {
  std::string notice;
  if (auto winners = repairFile(folder.winnersRecordPath(), gbk("中奖记录")))
    notice += *winners + gbk("请核对中奖名单:这一行的中奖者没有记录,这个名额会重新抽取。") + "\r\n";
  if (auto log = repairFile(folder.logPath(), gbk("抽奖日志"))) notice += *log;
  if (notice.empty()) return std::nullopt;
  return notice + gbk("抽奖可以继续进行。");
}

}  // namespace draw
