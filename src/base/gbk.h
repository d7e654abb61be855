#pragma once
// Text of the program's files. Names, captions and every file the program reads
// or writes are GB18030 bytes: GBK for every character GBK has (so every GBK file
// reads and writes byte for byte as it always did), and GB18030's four-byte form
// for the rest (names with characters of the CJK extensions, other scripts).
// "Gbk" in the names below means these bytes. The engine keeps std::string bytes
// and converts to UTF-8 only at the edges.
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace base {

// A byte 0x81-0xFE starts a two-byte character.
constexpr bool isLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// A byte that can follow a lead byte in a two-byte character: 0x40-0xFE but 0x7F.
constexpr bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// A byte 0x30-0x39 ('0'-'9') is the second and the fourth byte of a four-byte
// character: lead, digit, lead, digit.
constexpr bool isDigitByte(unsigned char byte) { return byte >= 0x30 && byte <= 0x39; }

// Length in bytes of the character starting at pos: 4 for a four-byte
// character, 2 for a lead byte followed by a trail byte, else 1. A lead byte before anything else (the end of the
// text, a quote, a blank, a line end) is a damaged byte on its own: taking the
// next byte with it would swallow the closing quote or the separator after a
// name cut short, and with it every later cell of a row.
std::size_t charLengthAt(std::string_view text, std::size_t pos);

// Columns the text takes where names are aligned by widths: one per single
// byte, two per two-byte and per four-byte character (both are full width).
constexpr std::size_t columnsOf(std::size_t charLength) { return charLength == 1 ? 1 : 2; }
std::size_t displayColumns(std::string_view text);

// Position of the first `needle` at or after `from` that is not the second byte of
// a two-byte character; npos when there is none.
std::size_t findSingleByte(std::string_view text, char needle, std::size_t from = 0);

// The longest prefix of at most maxBytes bytes that does not end inside a
// character.
std::string_view prefixAtCharBoundary(std::string_view text, std::size_t maxBytes);

// What a decoder does at a byte sequence that is not GBK: given the input from
// there on and the output (null when only looking), it appends what stands for
// the sequence and returns how many bytes that is (at least 1).
using InvalidSequence = std::size_t (*)(std::string_view rest, std::string* out);
// Decodes GB18030 to UTF-8, appending to `out` (null: only looks); returns
// whether a sequence was not GB18030. The one decoding loop behind every reader
// of the program's text.
bool decodeGbk(std::string_view gbk, std::string* out, InvalidSequence onInvalid);

// Text that cannot be stored in the program's files: UTF-8 that is not UTF-8
// (a file name in another encoding, a lone surrogate). Nothing stands in for
// such a character; what() names the text for the operator (UTF-8).
class UnstorableText : public std::runtime_error {
 public:
  explicit UnstorableText(std::string_view utf8);
};

// Conversions at the boundary to the user interface. Bytes that are not valid
// GB18030 become U+FFFD in UTF-8 (display only; files keep their bytes). Every
// Unicode character has a GB18030 form, so utf8ToGbk loses nothing; it raises
// UnstorableText for input that is not UTF-8 rather than putting "?" in its
// place. tryUtf8ToGbk answers nothing instead, for callers that refuse the
// text with a message of their own.
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);
std::optional<std::string> tryUtf8ToGbk(std::string_view utf8);
// gbk("…"): one of the program's own texts, written in UTF-8 in its source, in
// the GBK its files hold.
inline std::string gbk(std::string_view utf8) { return utf8ToGbk(utf8); }

// True when every byte sequence is a GB18030 character (ASCII, two-byte GBK and
// the four-byte forms).
bool isValidGb18030(std::string_view text);

// A piece of outside text fit to quote in a message (GBK): at most maxChars
// characters, then "…" when the text goes on; a control byte (NUL, ESC …) is
// shown as \xNN, since a box would cut the text at a NUL or show nothing. A
// message box lays out whatever it is given, and a line of megabytes takes it
// minutes.
std::string excerptForMessage(std::string_view gbk, std::size_t maxChars = 80);

// Compares two texts, folding only the case of Latin letters; the later bytes of
// a two- or four-byte character are compared exactly even when they fall in A-Z.
bool equalsIgnoreLatinCase(std::string_view a, std::string_view b);
// The key under which equalsIgnoreLatinCase texts are equal.
std::string foldLatinCase(std::string_view text);

}  // namespace base
