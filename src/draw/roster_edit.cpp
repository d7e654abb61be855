#include "draw/roster_edit.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "base/conversion_error.h"
#include "base/gbk.h"

namespace draw {

namespace {

// Escapes are U+F780 … U+F7FF (bytes 0x80 … 0xFF); in UTF-8 EF 9E 80 … EF 9F BF.
constexpr char32_t kEscapeBase = 0xF700;

void appendEscape(std::string& out, unsigned char byte) {
  const char32_t cp = kEscapeBase + byte;
  out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
  out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
  out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
}

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A byte that starts no GBK character keeps its value as an escape, so that
// saving the editor's text gives the byte back.
std::size_t escapeBadByte(std::string_view rest, std::string* out) {
  if (out) appendEscape(*out, static_cast<unsigned char>(rest.front()));
  return 1;
}

}  // namespace

std::string gbkToEditor(std::string_view gbk) {
  std::string out;
  base::decodeGbk(gbk, &out, escapeBadByte);
  return out;
}

std::string editorToGbk(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  std::size_t runStart = 0;
  std::size_t pos = 0;
  auto flush = [&](std::size_t end) {
    if (end > runStart) out += base::utf8ToGbk(utf8.substr(runStart, end - runStart));
  };
  while (pos < utf8.size()) {
    const auto b0 = static_cast<unsigned char>(utf8[pos]);
    if (b0 == 0xEF && pos + 2 < utf8.size()) {
      const auto b1 = static_cast<unsigned char>(utf8[pos + 1]);
      const auto b2 = static_cast<unsigned char>(utf8[pos + 2]);
      if ((b1 == 0x9E || b1 == 0x9F) && (b2 & 0xC0) == 0x80) {
        flush(pos);
        const char32_t cp = (char32_t{b0 & 0x0Fu} << 12) | (char32_t{b1 & 0x3Fu} << 6) | (b2 & 0x3Fu);
        out.push_back(static_cast<char>(cp - kEscapeBase));
        pos += 3;
        runStart = pos;
        continue;
      }
    }
    ++pos;
  }
  flush(utf8.size());
  return out;
}

bool hasUndecodableBytes(std::string_view gbk) { return base::decodeGbk(gbk, nullptr, escapeBadByte); }

std::size_t countLinesWithUndecodableBytes(const Lines& lines) {
  return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), hasUndecodableBytes));
}

void removeEmptyLines(Lines& lines) {
  std::erase_if(lines, [](const std::string& line) { return std::all_of(line.begin(), line.end(), isBlankByte); });
}

void trimLines(Lines& lines) {
  // A trail byte of a two-byte character is 0x40 or more, so a blank byte is
  // never half of a character.
  for (std::string& line : lines) {
    const auto first = std::find_if_not(line.begin(), line.end(), isBlankByte);
    const auto last = std::find_if_not(line.rbegin(), line.rend(), isBlankByte).base();
    if (first >= last) {
      line.clear();
    } else {
      line.erase(last, line.end());
      line.erase(line.begin(), first);
    }
  }
}

void removeSpaces(Lines& lines) {
  for (std::string& line : lines) std::erase(line, ' ');
}

Lines removeDuplicates(Lines& lines) {
  // Keeping the first of equal lines is what a backwards search of the earlier
  // lines gives, in one pass instead of one search per line.
  std::unordered_set<std::string_view> seen;
  seen.reserve(lines.size());
  std::vector<bool> duplicate(lines.size(), false);
  bool any = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!seen.insert(lines[i]).second) duplicate[i] = any = true;
  }
  Lines removed;
  if (!any) return removed;
  for (std::size_t i = lines.size(); i-- > 0;)
    if (duplicate[i]) removed.push_back(lines[i]);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (duplicate[i]) continue;
    if (kept != i) lines[kept] = std::move(lines[i]);
    ++kept;
  }
  lines.resize(kept);
  return removed;
}

std::string duplicatesMessage(const Lines& removed) {
  std::string message = base::utf8ToGbk("重复人员已删除：");
  for (const std::string& line : removed) message += line;
  return message;
}

void equalizeLengths(Lines& lines) {
  for (std::string& line : lines) {
    if (base::displayColumns(line) != 4) continue;
    const std::size_t firstLength = base::charLengthAt(line, 0);
    std::size_t lastStart = 0;
    for (std::size_t pos = 0; pos < line.size(); pos += base::charLengthAt(line, pos)) lastStart = pos;
    if (lastStart < firstLength) continue;  // one character only: nothing to put the spaces between
    line = line.substr(0, firstLength) + "  " + line.substr(lastStart);
  }
}

void shuffleLines(Lines& lines, RandomSource& random) {
  for (std::size_t i = lines.size(); i-- > 1;) {
    const auto j = static_cast<std::size_t>(random.between(0, static_cast<int>(i) - 1));
    std::swap(lines[i], lines[j]);
  }
}

void addPrefix(Lines& lines, std::string_view prefix) {
  if (prefix.empty()) return;
  for (std::string& line : lines) line.insert(0, prefix);
}

void addSuffix(Lines& lines, std::string_view suffix) {
  for (std::string& line : lines) line.append(suffix);
}

bool dropTrailingEmptyLines(Lines& lines) {
  bool dropped = false;
  while (lines.size() > 1 && lines.back().empty()) {
    lines.pop_back();
    dropped = true;
  }
  return dropped;
}

NumberedResult generateNumbered(const NumberedRequest& request, std::size_t limit) {
  NumberedResult result;
  if (request.first.empty()) {
    result.refusal = NumberedRefusal::FirstEmpty;
    return result;
  }
  if (request.last.empty()) {
    result.refusal = NumberedRefusal::LastEmpty;
    return result;
  }
  const long long first = base::toInt(request.first);
  const long long last = base::toInt(request.last);
  if (last < first) {
    result.refusal = NumberedRefusal::LastBeforeFirst;
    return result;
  }
  bool skipped[10] = {};
  for (char c : request.skip)
    if (c >= '0' && c <= '9') skipped[c - '0'] = true;
  // Counted before any line is made, so a huge range costs nothing.
  std::size_t count = 0;
  for (int d = 0; d < 10; ++d) {
    if (skipped[d]) continue;
    // Numbers k in first … last with k mod 10 = d (first ≥ 0: the fields hold digits only).
    auto upTo = [d](long long n) { return n < d ? 0LL : (n - d) / 10 + 1; };
    count += static_cast<std::size_t>(upTo(last) - upTo(first - 1));
  }
  if (count > limit) {
    result.refusal = NumberedRefusal::TooMany;
    return result;
  }
  if (count == 0) return result;  // every last digit skipped: the range is not walked
  const std::size_t width = request.last.size();
  result.lines.reserve(count);
  for (long long k = first; k <= last; ++k) {
    if (skipped[k % 10]) continue;
    const std::string digits = std::to_string(k);
    std::string line = request.prefix;
    if (request.zeroFill && width > digits.size()) line.append(width - digits.size(), '0');
    line += digits;
    line += request.suffix;
    result.lines.push_back(std::move(line));
  }
  return result;
}

int scaledPhotoWidth(int photoWidth, int photoHeight, int height) {
  if (photoHeight <= 0) return 0;
  return static_cast<int>(std::lround(static_cast<double>(photoWidth) * height / photoHeight));
}

CoverRect coverRect(int photoWidth, int photoHeight, int frameWidth, int frameHeight) {
  CoverRect rect;
  if (photoWidth <= 0 || photoHeight <= 0) return rect;
  const double byWidth = static_cast<double>(frameWidth) / photoWidth;
  const double byHeight = static_cast<double>(frameHeight) / photoHeight;
  if (byWidth > byHeight) {
    rect.y = static_cast<int>(std::lround((frameHeight - photoHeight * byWidth) / 2));
  } else {
    rect.x = static_cast<int>(std::lround((frameWidth - photoWidth * byHeight) / 2));
  }
  rect.width = frameWidth - 2 * rect.x;
  rect.height = frameHeight - 2 * rect.y;
  return rect;
}

int effectiveSide(std::string_view text, int least) {
  const std::optional<int> value = base::parseInt(text);
  if (!value || *value <= least) return least;
  return *value;
}

std::string photoNameProblem(std::string_view utf8Name) {
  if (utf8Name.empty()) return "姓名不能为空";
  if (utf8Name == "." || utf8Name.find("..") != std::string_view::npos)
    return "姓名不能含有\"..\",它不能作为照片的文件名";
  for (char c : utf8Name) {
    if (c == '/' || c == '\\') return "姓名不能含有\"/\"或\"\\\",它不能作为照片的文件名";
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) return "姓名不能含有控制字符,它不能作为照片的文件名";
  }
  if (!base::tryUtf8ToGbk(utf8Name)) return "姓名含有名单文件无法保存的字符,请改用其它写法";
  return {};
}

}  // namespace draw
