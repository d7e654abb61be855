#include "base/ini_file.h"

#include <ctime>
#include <exception>

#include "base/conversion_error.h"
#include "base/text_file.h"

namespace base {

namespace fs = std::filesystem;

IniFile::IniFile(fs::path path, fs::path seed) : path_(std::move(path)), seed_(std::move(seed)) { reload(); }

bool IniFile::exists() const {
  std::error_code ec;
  return fs::exists(path_, ec);
}

void IniFile::reload() {
  if (auto bytes = readFileIfExists(path_)) {
    document_ = IniDocument::parse(*bytes);
  } else if (!seed_.empty()) {
    auto seedBytes = readFileIfExists(seed_);
    document_ = seedBytes ? IniDocument::parse(*seedBytes) : IniDocument();
  } else {
    document_ = IniDocument();
  }
  dirty_ = false;
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto value = document_.value(section, key);
  return value ? *value : std::string(fallback);
}

int IniFile::readInt(std::string_view section, std::string_view key, int fallback) const {
  auto value = document_.value(section, key);
  if (!value) return fallback;
  return parseInt(*value).value_or(fallback);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
  auto value = document_.value(section, key);
  if (!value) return fallback;
  auto number = parseInt(*value);
  return number ? *number != 0 : fallback;
}

bool IniFile::hasSection(std::string_view section) const { return document_.hasSection(section); }

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
  return document_.value(section, key).has_value();
}

std::vector<std::string> IniFile::keys(std::string_view section) const { return document_.keys(section); }

template <typename Change>
void IniFile::change(Change&& apply) {
  if (batchDepth_ == 0) {
    // A single write starts from the file as it is now, so writes made through
    // another IniFile on the same path are kept.
    reload();
    apply(document_);
    save();
    return;
  }
  apply(document_);
  dirty_ = true;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  change([&](IniDocument& document) { document.setValue(section, key, value); });
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

void IniFile::deleteKey(std::string_view section, std::string_view key) {
  change([&](IniDocument& document) { document.removeKey(section, key); });
}

void IniFile::eraseSection(std::string_view section) {
  change([&](IniDocument& document) { document.removeSection(section); });
}

void IniFile::beginBatch() { ++batchDepth_; }

void IniFile::commit() {
  if (batchDepth_ > 0) --batchDepth_;
  if (batchDepth_ == 0 && dirty_) save();
}

void IniFile::save() {
  writeFileAtomically(path_, document_.serialize());
  dirty_ = false;
}

IniBatch::~IniBatch() noexcept(false) {
  if (std::uncaught_exceptions() > 0) {
    try {
      file_.commit();
    } catch (...) {
      // Already unwinding from the first failure; that one is reported.
    }
    return;
  }
  file_.commit();
}

std::string currentDateTimeText() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return buffer;
}

}  // namespace base
