#include "base/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace base {

std::size_t charLengthAt(std::string_view text, std::size_t pos) {
  if (pos + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[pos])) &&
      isTrailByte(static_cast<unsigned char>(text[pos + 1])))
    return 2;
  return 1;
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
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert between GBK and UTF-8");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible into `out` (null: only looks); at an invalid or
  // unconvertible sequence `onInvalid` writes what stands for it and says how
  // many bytes of input to step over. Returns whether there was one.
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
  thread_local Converter converter("UTF-8", "GBK");
  return converter;
}

// Bytes that are not GBK show as U+FFFD, one for each damaged character.
std::size_t replaceBadGbk(std::string_view rest, std::string* out) {
  if (out) out->append("\xEF\xBF\xBD");
  std::size_t skip = charLengthAt(rest, 0);
  // A lead byte followed by an invalid trail byte: keep the trail byte, it may be ASCII.
  if (skip == 2 && static_cast<unsigned char>(rest[1]) < 0x40) skip = 1;
  return skip;
}

// A character GBK cannot spell shows as "?"; the whole UTF-8 sequence is skipped.
std::size_t replaceUnspellable(std::string_view rest, std::string* out) {
  if (out) out->push_back('?');
  const auto lead = static_cast<unsigned char>(rest.front());
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
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

std::string utf8ToGbk(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  thread_local Converter converter("GBK", "UTF-8");
  std::string out;
  out.reserve(utf8.size());
  converter.convert(utf8, &out, replaceUnspellable);
  return out;
}

bool isValidGb18030(std::string_view text) {
  if (isAscii(text)) return true;
  thread_local iconv_t cd = iconv_open("UTF-32", "GB18030");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot read GB18030");
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) return false;
  }
  return true;
}

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
    std::size_t length = charLengthAt(gbk, pos);
    // A four-byte GB18030 character is one character: never cut apart.
    if (pos + 3 < gbk.size() && isLeadByte(byte) && gbk[pos + 1] >= '0' && gbk[pos + 1] <= '9' &&
        isLeadByte(static_cast<unsigned char>(gbk[pos + 2])) && gbk[pos + 3] >= '0' && gbk[pos + 3] <= '9')
      length = 4;
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
    if (len == 2) {
      if (a[pos] != b[pos] || a[pos + 1] != b[pos + 1]) return false;
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
