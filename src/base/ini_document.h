#pragma once
// An INI file held in memory as its lines, so that a write changes only the line
// of its key and every line the program does not know (comments, unknown
// sections, odd lines) is written back as it was.
//
// Section and key names compare without regard to the case of Latin letters
// (GBK-aware: the second byte of a Chinese character is compared exactly). Where
// a name appears twice, the first one counts, for reading and for writing.
// Values are trimmed of blanks when read. New keys go after the last key of their
// section, new sections at the end, each in the order first written.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace base {

class IniDocument {
 public:
  IniDocument() = default;
  static IniDocument parse(std::string_view bytes);
  // The file's bytes, every line ended by CR LF.
  std::string serialize() const;

  // The trimmed value; nothing when the section or the key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  bool hasSection(std::string_view section) const;
  // Key names of a section in file order (first spelling of each).
  std::vector<std::string> keys(std::string_view section) const;
  std::vector<std::string> sections() const;

  void setValue(std::string_view section, std::string_view key, std::string_view value);
  // Removes the key's line; nothing happens when it is missing.
  void removeKey(std::string_view section, std::string_view key);
  // Removes the section header and all its lines.
  void removeSection(std::string_view section);

 private:
  struct Line {
    std::string text;     // the line as it stands in the file
    std::string foldedKey;  // empty for lines that hold no key
    std::size_t valueStart = 0;  // where the value begins in text (key lines)
  };
  struct Section {
    std::string name;         // as spelt in the header; empty for the lines before the first header
    bool hasHeader = false;
    std::string headerLine;
    std::vector<Line> lines;
    std::unordered_map<std::string, std::size_t> keyIndex;  // folded key -> first line holding it
    void reindex();
  };

  Section* findSection(std::string_view name);
  const Section* findSection(std::string_view name) const;
  void reindexSections();

  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> first section
};

}  // namespace base
