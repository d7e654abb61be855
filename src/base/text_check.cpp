#include "base/text_check.h"

#include "base/gbk.h"

namespace base {

namespace {

// Counts the characters beyond ASCII of valid UTF-8; -1 when the text is not UTF-8.
int utf8CharactersBeyondAscii(std::string_view text) {
  int count = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    if (lead < 0x80) {
      ++pos;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF)
      length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
      length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
      length = 4;
    else
      return -1;
    if (pos + length > text.size()) return -1;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[pos + k]) & 0xC0) != 0x80) return -1;
    pos += length;
    ++count;
  }
  return count;
}

}  // namespace

namespace {
bool dropByteOrderMarks(std::string_view& bytes) {
  bool dropped = false;
  while (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
    dropped = true;
  }
  return dropped;
}
}  // namespace

ImportEncoding importEncoding(std::string_view bytes) {
  const bool byteOrderMark = dropByteOrderMarks(bytes);
  const int beyondAscii = utf8CharactersBeyondAscii(bytes);
  if (byteOrderMark && beyondAscii >= 0) return ImportEncoding::Utf8;
  if (beyondAscii <= 0) return ImportEncoding::Gb18030;
  if (beyondAscii >= 3 || !isValidGb18030(bytes)) return ImportEncoding::Utf8;
  return ImportEncoding::Either;
}

std::string utf8FileToGbk(std::string_view bytes) {
  dropByteOrderMarks(bytes);
  return utf8ToGbk(bytes);
}

TextProblem findTextProblem(std::string_view bytes) {
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') || byte == 0x7F) return TextProblem::ControlBytes;
  }
  // The readers drop byte order marks at the start; so does the check.
  const bool byteOrderMark = dropByteOrderMarks(bytes);
  const int beyondAscii = utf8CharactersBeyondAscii(bytes);
  if (beyondAscii >= 3 || (byteOrderMark && beyondAscii >= 1)) return TextProblem::Utf8;
  if (!isValidGb18030(bytes)) return TextProblem::NotGb18030;
  return TextProblem::None;
}

std::string describeTextProblem(TextProblem problem) {
  switch (problem) {
    case TextProblem::None:
      return {};
    case TextProblem::ControlBytes:
      return "文件中有不是文字的内容(例如NUL字节),可能已损坏或不是文本文件";
    case TextProblem::Utf8:
      return "文件是UTF-8编码,不是本程序使用的GBK(GB18030)编码";
    case TextProblem::NotGb18030:
      return "文件中有不是GBK(GB18030)编码的文字,可能已损坏或是其它编码";
  }
  return {};
}

}  // namespace base
