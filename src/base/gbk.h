#pragma once
// GBK (code page 936) text helpers. Names, captions and every file the program
// reads or writes are GBK bytes; widths and positions count those bytes, so the
// engine keeps std::string bytes and converts to UTF-8 only at the edges.
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// A byte 0x81-0xFE starts a two-byte character.
constexpr bool isLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// A byte that can follow a lead byte in a two-byte character: 0x40-0xFE but 0x7F.
constexpr bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// Length in bytes of the character starting at pos: 2 for a lead byte followed
// by a trail byte, else 1. A lead byte before anything else (the end of the
// text, a quote, a blank, a line end) is a damaged byte on its own: taking the
// next byte with it would swallow the closing quote or the separator after a
// name cut short, and with it every later cell of a row.
std::size_t charLengthAt(std::string_view text, std::size_t pos);

// Position of the first `needle` at or after `from` that is not the second byte of
// a two-byte character; npos when there is none.
std::size_t findSingleByte(std::string_view text, char needle, std::size_t from = 0);

// The longest prefix of at most maxBytes bytes that does not end inside a
// two-byte character.
std::string_view prefixAtCharBoundary(std::string_view text, std::size_t maxBytes);

// What a decoder does at a byte sequence that is not GBK: given the input from
// there on and the output (null when only looking), it appends what stands for
// the sequence and returns how many bytes that is (at least 1).
using InvalidSequence = std::size_t (*)(std::string_view rest, std::string* out);
// Decodes GBK to UTF-8, appending to `out` (null: only looks); returns whether a
// sequence was not GBK. The one decoding loop behind every reader of GBK text.
bool decodeGbk(std::string_view gbk, std::string* out, InvalidSequence onInvalid);

// Conversions at the boundary to the user interface. Bytes that are not valid GBK
// become U+FFFD in UTF-8 (display only; files keep their bytes). Characters with
// no GBK form become "?".
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);

// True when every byte sequence is a GB18030 character (ASCII, two-byte GBK and
// the four-byte forms), as glibc's iconv reads it.
bool isValidGb18030(std::string_view text);

// A piece of outside text fit to quote in a message (GBK): at most maxChars
// characters, then "…" when the text goes on; a control byte (NUL, ESC …) is
// shown as \xNN, since a box would cut the text at a NUL or show nothing. A
// message box lays out whatever it is given, and a line of megabytes takes it
// minutes.
std::string excerptForMessage(std::string_view gbk, std::size_t maxChars = 80);

// Compares two GBK texts, folding only the case of Latin letters; the second byte
// of a two-byte character is compared exactly even when it falls in A-Z.
bool equalsIgnoreLatinCase(std::string_view a, std::string_view b);
// The key under which equalsIgnoreLatinCase texts are equal.
std::string foldLatinCase(std::string_view text);

}  // namespace base
