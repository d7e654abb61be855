#include "draw/torn_lines.h"

#include <ctime>
#include <filesystem>
#include <string_view>

#include "base/gbk.h"
#include "base/text_file.h"
#include "draw/draw_texts.h"

namespace draw {

using base::gbk;

namespace {

std::string timeStamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

}  // namespace

std::filesystem::path asideNameFor(const std::filesystem::path& file) {
  const std::string base = file.filename().string() + ".damaged-" + timeStamp();
  std::filesystem::path candidate = file.parent_path() / base;
  std::error_code ec;
  for (int n = 2; std::filesystem::exists(candidate, ec); ++n)
    candidate = file.parent_path() / (base + "-" + std::to_string(n));
  return candidate;
}

void keepAside(const std::filesystem::path& aside, std::string_view bytes) { base::writeFileAtomically(aside, bytes); }

namespace {

// The repair of one file; the notice names it by `what` (GBK).
std::optional<std::string> repairFile(const std::filesystem::path& file, const std::string& what) {
  std::optional<std::string> bytes = base::readFileIfExists(file);
  if (!bytes || bytes->empty()) return std::nullopt;
  const char last = bytes->back();
  if (last == '\n' || last == '\r') return std::nullopt;

  const std::size_t end = bytes->find_last_of("\r\n");
  const std::size_t keep = end == std::string::npos ? 0 : end + 1;
  const std::filesystem::path aside = asideNameFor(file);
  keepAside(aside, *bytes);
  base::writeFileAtomically(file, std::string_view(*bytes).substr(0, keep));

  // The operator reads the dropped line to tell who may be missing.
  const std::string shown = base::excerptForMessage(std::string_view(*bytes).substr(keep));
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
