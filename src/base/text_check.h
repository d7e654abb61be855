#pragma once
// Whether a text file the program reads is text of its own kind: GB18030 (GBK)
// without control bytes. Files copied from another machine or saved by an editor
// often are not: a UTF-8 roster draws garbled names, a binary settings file reads
// as empty settings. Telling the operator which file and why beats drawing on.
#include <string>
#include <string_view>

namespace base {

enum class TextProblem {
  None,
  ControlBytes,  // NUL or another control byte than tab, CR and LF: not a text file
  Utf8,          // UTF-8 text with Chinese characters (an editor's or another system's default)
  NotGb18030,    // byte sequences that are no GB18030 character
};

// The first problem found. Valid GB18030 is accepted (four-byte characters
// included), except text that is also valid UTF-8 holding at least three
// characters beyond ASCII: Chinese in GBK virtually never forms UTF-8 that long,
// while UTF-8 Chinese often happens to pair up as GBK bytes. A UTF-8 byte order
// mark at the start (which the readers drop) makes one such character enough.
TextProblem findTextProblem(std::string_view bytes);

// How a text file brought in from elsewhere (a roster to import) is to be read.
// A UTF-8 byte order mark before UTF-8, or valid UTF-8 that is no GB18030 text, or valid
// UTF-8 with at least three characters beyond ASCII: Utf8. Valid UTF-8 with
// one or two such characters that also reads as GB18030 (a few Chinese
// characters can form either): Either, the operator looks at both. Anything
// else (plain ASCII too): Gb18030.
enum class ImportEncoding { Gb18030, Utf8, Either };
ImportEncoding importEncoding(std::string_view bytes);

// The text without its byte order marks, UTF-8 turned into the program's
// GB18030. Raises UnstorableText when it is not UTF-8.
std::string utf8FileToGbk(std::string_view bytes);

// The problem in words for the operator (UTF-8), e.g. "文件是UTF-8编码,不是本程序使用的GBK(GB18030)编码".
std::string describeTextProblem(TextProblem problem);

}  // namespace base
