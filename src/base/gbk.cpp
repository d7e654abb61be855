#include "base/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <utility>

namespace base {

std::size_t charLengthAt(std::string_view text, std::size_t pos) {
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[pos + k]); };
  if (pos + 1 >= text.size() || !isLeadByte(at(0))) return 1;
  if (isTrailByte(at(1))) return 2;
  if (pos + 3 < text.size() && isDigitByte(at(1)) && isLeadByte(at(2)) && isDigitByte(at(3))) return 4;
  return 1;
}

std::size_t displayColumns(std::string_view text) {
  std::size_t columns = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = charLengthAt(text, pos);
    columns += columnsOf(length);
    pos += length;
  }
  return columns;
}

std::size_t findSingleByte(std::string_view text, char needle, std::size_t from) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (pos >= from && text[pos] == needle) return pos;
    pos += charLengthAt(text, pos);
  }
  return std::string_view::npos;
}

std::string_view prefixAtCharBoundary(std::string_view text, std::size_t maxBytes) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t next = pos + charLengthAt(text, pos);
    if (next > maxBytes) break;
    pos = next;
  }
  return text.substr(0, pos);
}

namespace {

// One converter per direction and thread; iconv descriptors are not thread-safe.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("iconv cannot convert between GB18030 and UTF-8");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible into `out` (null: only looks); at an invalid or
  // unconvertible sequence `onInvalid` writes what stands for it and says how
  // many bytes of input to step over (null: stops at the first one). Returns
  // whether there was one.
  bool convert(std::string_view input, std::string* out, InvalidSequence onInvalid) {
    bool invalid = false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      if (out) out->append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (rc != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: the handler marks the sequence and says how far to skip.
      invalid = true;
      if (!onInvalid) break;
      const std::size_t skip = std::clamp<std::size_t>(onInvalid(std::string_view(in, inLeft), out), 1, inLeft);
      in += skip;
      inLeft -= skip;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return invalid;
  }

 private:
  iconv_t cd_;
};

Converter& fromGbkConverter() {
  thread_local Converter converter("UTF-8", "GB18030");
  return converter;
}

Converter& toGbkConverter() {
  thread_local Converter converter("GB18030", "UTF-8");
  return converter;
}

// Bytes that are not GBK show as U+FFFD, one for each damaged character. A lead
// byte before a byte that cannot end a character (charLengthAt) is damaged on
// its own, so the byte after it, often ASCII (a quote, a bar, a digit), shows.
std::size_t replaceBadGbk(std::string_view rest, std::string* out) {
  if (out) out->append("\xEF\xBF\xBD");
  return charLengthAt(rest, 0);
}

bool isAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

char lowerLatin(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool decodeGbk(std::string_view gbk, std::string* out, InvalidSequence onInvalid) {
  if (isAscii(gbk)) {
    if (out) out->append(gbk);
    return false;
  }
  if (out) out->reserve(out->size() + gbk.size() * 3 / 2 + 4);
  return fromGbkConverter().convert(gbk, out, onInvalid);
}

std::string gbkToUtf8(std::string_view gbk) {
  std::string out;
  decodeGbk(gbk, &out, replaceBadGbk);
  return out;
}

namespace {
// The text as it can be quoted: valid UTF-8 as it is, anything else with its
// bad bytes as U+FFFD.
std::string quotable(std::string_view utf8) {
  std::string shown;
  for (std::size_t pos = 0; pos < utf8.size() && shown.size() < 240;) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    bool whole = length > 0 && pos + length <= utf8.size();
    for (std::size_t k = 1; whole && k < length; ++k)
      whole = (static_cast<unsigned char>(utf8[pos + k]) & 0xC0) == 0x80;
    if (whole) {
      shown.append(utf8.substr(pos, length));
      pos += length;
    } else {
      shown += "\xEF\xBF\xBD";
      ++pos;
    }
  }
  return shown;
}
}  // namespace

UnstorableText::UnstorableText(std::string_view utf8)
    : std::runtime_error("\"" + quotable(utf8) + "\" 中有无法保存的字符(不是有效的文字编码),请改用其它写法") {}

std::optional<std::string> tryUtf8ToGbk(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  if (toGbkConverter().convert(utf8, &out, nullptr)) return std::nullopt;
  return out;
}

std::string utf8ToGbk(std::string_view utf8) {
  std::optional<std::string> gbk = tryUtf8ToGbk(utf8);
  if (!gbk) throw UnstorableText(utf8);
  return std::move(*gbk);
}

bool isValidGb18030(std::string_view text) { return !decodeGbk(text, nullptr, nullptr); }

std::string excerptForMessage(std::string_view gbk, std::size_t maxChars) {
  std::string shown;
  std::size_t pos = 0;
  std::size_t chars = 0;
  for (; pos < gbk.size() && chars < maxChars; ++chars) {
    const auto byte = static_cast<unsigned char>(gbk[pos]);
    if (byte < 0x20 || byte == 0x7F) {
      static const char digits[] = "0123456789ABCDEF";
      shown += "\\x";
      shown += digits[byte >> 4];
      shown += digits[byte & 0xF];
      ++pos;
      continue;
    }
    const std::size_t length = charLengthAt(gbk, pos);
    shown.append(gbk.substr(pos, length));
    pos += length;
  }
  if (pos < gbk.size()) shown += "\xA1\xAD";  // …
  return shown;
}

bool equalsIgnoreLatinCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  std::size_t pos = 0;
  while (pos < a.size()) {
    std::size_t len = charLengthAt(a, pos);
    if (len > 1) {
      if (a.substr(pos, len) != b.substr(pos, len)) return false;
    } else if (lowerLatin(a[pos]) != lowerLatin(b[pos])) {
      return false;
    }
    pos += len;
  }
  return true;
}

std::string foldLatinCase(std::string_view text) {
  std::string folded(text);
  std::size_t pos = 0;
  while (pos < folded.size()) {
    std::size_t len = charLengthAt(folded, pos);
    if (len == 1) folded[pos] = lowerLatin(folded[pos]);
    pos += len;
  }
  return folded;
}

}  // namespace base
