#pragma once
// The list operations of the roster editor and its numbered-name generator, on
// the roster's GBK lines. Each works on whole lines and never splits a two-byte
// character. No Qt: the editor converts its text to lines and back around them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "draw/random_source.h"

namespace draw {

using Lines = std::vector<std::string>;

// ---- text of the editor ----------------------------------------------------------

// GBK text as UTF-8 for the editor. A byte that does not decode becomes the
// private-use character U+F700 + byte, which GBK cannot spell, so that
// editorToGbk gives the very byte back and a roster with damaged bytes survives
// an edit and a save unchanged.
std::string gbkToEditor(std::string_view gbk);
std::string editorToGbk(std::string_view utf8);
// True when the GBK text holds a byte that does not decode.
bool hasUndecodableBytes(std::string_view gbk);
// How many of the lines hold such bytes.
std::size_t countLinesWithUndecodableBytes(const Lines& lines);

// ---- list operations ---------------------------------------------------------------

// A byte of code 32 or less: space, tab, control character.
constexpr bool isBlankByte(char c) { return static_cast<unsigned char>(c) <= 32; }

// Removes every line that is empty or holds only blank bytes.
void removeEmptyLines(Lines& lines);
// Strips blank bytes from both ends of every line.
void trimLines(Lines& lines);
// Removes every ASCII space; tabs and the ideographic space stay.
void removeSpaces(Lines& lines);
// Removes every line that equals (byte for byte) an earlier line. Returns the
// removed lines in the order of removal: from the end of the list to its start.
Lines removeDuplicates(Lines& lines);
// The message that tells which lines removeDuplicates removed.
std::string duplicatesMessage(const Lines& removed);
// A line four columns wide (two full-width characters, base::displayColumns)
// becomes its first character, two spaces and its last character (a
// two-character name takes a three-character width).
void equalizeLengths(Lines& lines);
// Cyclic shuffle: for i = n-1 … 1 swap line i with a line j chosen uniformly from
// 0 … i-1, so with two or more lines every line leaves its place.
void shuffleLines(Lines& lines, RandomSource& random);
void addPrefix(Lines& lines, std::string_view prefix);
void addSuffix(Lines& lines, std::string_view suffix);
// Removes empty (length 0) lines from the end, never the first line. True when
// any was removed.
bool dropTrailingEmptyLines(Lines& lines);

// ---- generator -------------------------------------------------------------------

// The most lines one run of the generator adds: a roster of this size still
// edits without a stall, and a typing slip in the last number (an extra zero or
// two) is caught instead of filling the memory.
inline constexpr std::size_t kMostGeneratedLines = 100000;

struct NumberedRequest {
  std::string prefix;  // GBK
  std::string suffix;  // GBK
  std::string first;   // digits as typed
  std::string last;    // digits as typed; its length is the zero-fill width
  std::string skip;    // last digits to leave out
  bool zeroFill = true;
};

enum class NumberedRefusal { None, FirstEmpty, LastEmpty, LastBeforeFirst, TooMany };

struct NumberedResult {
  NumberedRefusal refusal = NumberedRefusal::None;
  Lines lines;
};

// Lines prefix + zero fill + k + suffix for k = first … last whose last digit is
// not in skip. Refuses (and makes no line) for an empty field, last < first or
// more than `limit` lines. A number outside 32 bits raises base::ConversionError.
NumberedResult generateNumbered(const NumberedRequest& request, std::size_t limit = kMostGeneratedLines);

// ---- picture roster arithmetic -----------------------------------------------------

// Width of a photo scaled to `height`: the nearest integer to width × height ÷ h.
int scaledPhotoWidth(int photoWidth, int photoHeight, int height);

// Where a photo is stretched to cover a W × H frame, centred: the rectangle from
// (x, y) to (W − x, H − y); one of x, y is 0, the other 0 or negative.
struct CoverRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
CoverRect coverRect(int photoWidth, int photoHeight, int frameWidth, int frameHeight);

// A frame side from its field: the value, but `least` when the text is empty,
// not a number or below least + 1.
int effectiveSide(std::string_view text, int least);

// Why a name cannot name a photo file, as a UTF-8 message for the operator; empty
// when it can. The name is UTF-8 (as typed or taken from a file name).
std::string photoNameProblem(std::string_view utf8Name);

}  // namespace draw
