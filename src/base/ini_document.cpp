#include "base/ini_document.h"

#include "base/gbk.h"
#include "base/text_file.h"

namespace base {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The name inside "[name]" when the line is a section header.
std::optional<std::string_view> headerName(std::string_view line) {
  std::string_view trimmed = trim(line);
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  std::size_t close = findSingleByte(trimmed, ']', 1);
  if (close == std::string_view::npos) return std::nullopt;
  return trim(trimmed.substr(1, close - 1));
}

}  // namespace

void IniDocument::Section::reindex() {
  keyIndex.clear();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (!lines[i].foldedKey.empty()) keyIndex.emplace(lines[i].foldedKey, i);
}

void IniDocument::reindexSections() {
  sectionIndex_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i)
    if (sections_[i].hasHeader) sectionIndex_.emplace(foldLatinCase(sections_[i].name), i);
}

IniDocument IniDocument::parse(std::string_view bytes) {
  IniDocument document;
  document.sections_.emplace_back();  // lines before the first header
  for (std::string& text : splitLines(bytes)) {
    if (auto name = headerName(text)) {
      Section section;
      section.name = std::string(*name);
      section.hasHeader = true;
      section.headerLine = std::move(text);
      document.sections_.push_back(std::move(section));
      continue;
    }
    Line line;
    std::size_t equals = text.find('=');  // '=' is never the second byte of a GBK character
    if (equals != std::string::npos) {
      std::string_view key = trim(std::string_view(text).substr(0, equals));
      if (!key.empty() && key.front() != ';') {
        line.foldedKey = foldLatinCase(key);
        line.valueStart = equals + 1;
      }
    }
    line.text = std::move(text);
    document.sections_.back().lines.push_back(std::move(line));
  }
  for (auto& section : document.sections_) section.reindex();
  document.reindexSections();
  return document;
}

std::string IniDocument::serialize() const {
  std::string out;
  for (const auto& section : sections_) {
    if (section.hasHeader) {
      out += section.headerLine;
      out += "\r\n";
    }
    for (const auto& line : section.lines) {
      out += line.text;
      out += "\r\n";
    }
  }
  return out;
}

IniDocument::Section* IniDocument::findSection(std::string_view name) {
  auto it = sectionIndex_.find(foldLatinCase(trim(name)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
  auto it = sectionIndex_.find(foldLatinCase(trim(name)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const {
  const Section* found = findSection(section);
  if (!found) return std::nullopt;
  auto it = found->keyIndex.find(foldLatinCase(trim(key)));
  if (it == found->keyIndex.end()) return std::nullopt;
  const Line& line = found->lines[it->second];
  return std::string(trim(std::string_view(line.text).substr(line.valueStart)));
}

bool IniDocument::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::vector<std::string> IniDocument::keys(std::string_view section) const {
  std::vector<std::string> names;
  const Section* found = findSection(section);
  if (!found) return names;
  for (std::size_t i = 0; i < found->lines.size(); ++i) {
    const Line& line = found->lines[i];
    if (line.foldedKey.empty()) continue;
    auto it = found->keyIndex.find(line.foldedKey);
    if (it != found->keyIndex.end() && it->second == i)
      names.emplace_back(trim(std::string_view(line.text).substr(0, line.valueStart - 1)));
  }
  return names;
}

std::vector<std::string> IniDocument::sections() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (!sections_[i].hasHeader) continue;
    auto it = sectionIndex_.find(foldLatinCase(sections_[i].name));
    if (it != sectionIndex_.end() && it->second == i) names.push_back(sections_[i].name);
  }
  return names;
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
  std::string_view trimmedKey = trim(key);
  std::string folded = foldLatinCase(trimmedKey);
  Section* found = findSection(section);
  if (!found) {
    Section added;
    added.name = std::string(trim(section));
    added.hasHeader = true;
    added.headerLine = "[" + added.name + "]";
    sections_.push_back(std::move(added));
    sectionIndex_.emplace(foldLatinCase(sections_.back().name), sections_.size() - 1);
    found = &sections_.back();
  }
  auto it = found->keyIndex.find(folded);
  if (it != found->keyIndex.end()) {
    Line& line = found->lines[it->second];
    line.text.resize(line.valueStart);
    line.text.append(value);
    return;
  }
  Line line;
  line.text.reserve(trimmedKey.size() + 1 + value.size());
  line.text.append(trimmedKey);
  line.text += '=';
  line.text.append(value);
  line.foldedKey = folded;
  line.valueStart = trimmedKey.size() + 1;
  // After the section's last key, so blank lines and comments at its end stay there.
  std::size_t insertAt = found->lines.size();
  while (insertAt > 0 && found->lines[insertAt - 1].foldedKey.empty()) --insertAt;
  if (insertAt == found->lines.size()) {
    found->lines.push_back(std::move(line));
    found->keyIndex.emplace(std::move(folded), found->lines.size() - 1);
  } else {
    found->lines.insert(found->lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    found->reindex();
  }
}

void IniDocument::removeKey(std::string_view section, std::string_view key) {
  Section* found = findSection(section);
  if (!found) return;
  auto it = found->keyIndex.find(foldLatinCase(trim(key)));
  if (it == found->keyIndex.end()) return;
  found->lines.erase(found->lines.begin() + static_cast<std::ptrdiff_t>(it->second));
  found->reindex();
}

void IniDocument::removeSection(std::string_view section) {
  auto it = sectionIndex_.find(foldLatinCase(trim(section)));
  if (it == sectionIndex_.end()) return;
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
  reindexSections();
}

}  // namespace base
