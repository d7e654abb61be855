#pragma once
// One stored key of an INI file as its file's key table names it: the section,
// the key and what a reader gets while the file lacks it. Names are spelled in
// UTF-8, as the sources spell every text, and meet the file as GBK bytes; the
// tables that hold these keys are read, written, tested and printed for the
// template generator from that one spelling.
#include <string>
#include <string_view>

#include "base/gbk.h"
#include "base/ini_file.h"

namespace base {

template <typename Value>
struct IniKey {
  std::string_view section;  // UTF-8
  std::string_view key;      // UTF-8
  Value fallback;
};

using BoolKey = IniKey<bool>;
using IntKey = IniKey<int>;
using TextKey = IniKey<std::string_view>;  // the fallback is GBK (plain ASCII in every table)

inline bool readKey(const IniFile& file, const BoolKey& k) {
  return file.readBool(utf8ToGbk(k.section), utf8ToGbk(k.key), k.fallback);
}
inline int readKey(const IniFile& file, const IntKey& k) {
  return file.readInt(utf8ToGbk(k.section), utf8ToGbk(k.key), k.fallback);
}
inline std::string readKey(const IniFile& file, const TextKey& k) {
  return file.readString(utf8ToGbk(k.section), utf8ToGbk(k.key), k.fallback);
}

// Each write reaches the file at once (or with the batch the caller holds).
inline void writeKey(IniFile& file, const BoolKey& k, bool value) {
  file.writeBool(utf8ToGbk(k.section), utf8ToGbk(k.key), value);
}
inline void writeKey(IniFile& file, const IntKey& k, int value) {
  file.writeInt(utf8ToGbk(k.section), utf8ToGbk(k.key), value);
}
inline void writeKey(IniFile& file, const TextKey& k, std::string_view gbkValue) {
  file.writeString(utf8ToGbk(k.section), utf8ToGbk(k.key), gbkValue);
}

// A row of a printed key table: section, key and the default as the file would hold it.
struct KeyRow {
  std::string section;  // UTF-8
  std::string key;      // UTF-8
  std::string fallback;
};
inline KeyRow rowOf(const BoolKey& k) { return {std::string(k.section), std::string(k.key), k.fallback ? "1" : "0"}; }
inline KeyRow rowOf(const IntKey& k) {
  return {std::string(k.section), std::string(k.key), std::to_string(k.fallback)};
}
inline KeyRow rowOf(const TextKey& k) { return {std::string(k.section), std::string(k.key), std::string(k.fallback)}; }

}  // namespace base
