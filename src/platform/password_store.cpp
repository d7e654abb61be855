#include "platform/password_store.h"

#include <array>
#include <cstdlib>

#include "base/conversion_error.h"
#include "base/ini_file.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::array<unsigned char, 8> kScrambleKey = {0x4B, 0x76, 0x1D, 0xA3, 0x5E, 0xC2, 0x39, 0x87};
constexpr std::string_view kSection = "Software\\Kelvalot";
constexpr std::string_view kValue = "nomle";

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

fs::path userStoreFile() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  fs::path base;
  if (xdg != nullptr && *xdg != '\0') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = fs::path(home != nullptr ? home : ".") / ".config";
  }
  return base / "Kelvalot" / "registry.ini";
}

}  // namespace

std::string scramblePassword(std::string_view gbkPassword) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string stored;
  stored.reserve(gbkPassword.size() * 2);
  for (std::size_t i = 0; i < gbkPassword.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(gbkPassword[i]) ^ kScrambleKey[i % kScrambleKey.size()];
    stored += kDigits[byte >> 4];
    stored += kDigits[byte & 0x0F];
  }
  return stored;
}

std::string unscramblePassword(std::string_view stored) {
  std::string password;
  for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
    const int high = hexDigit(stored[i]);
    const int low = hexDigit(stored[i + 1]);
    if (high < 0 || low < 0) throw base::ConversionError::integer("$" + std::string(stored.substr(i, 2)));
    const unsigned char byte =
        static_cast<unsigned char>(high * 16 + low) ^ kScrambleKey[(i / 2) % kScrambleKey.size()];
    password += static_cast<char>(byte);
  }
  return password;
}

PasswordStore::PasswordStore() : file_(userStoreFile()) {}

PasswordStore::PasswordStore(fs::path file) : file_(std::move(file)) {}

std::string PasswordStore::password() const {
  const base::IniFile store(file_);
  return unscramblePassword(store.readString(kSection, kValue, ""));
}

void PasswordStore::setPassword(std::string_view gbkPassword) {
  std::error_code ec;
  // Only the owner may look into the folder, so the file is private from its first byte.
  if (fs::create_directories(file_.parent_path(), ec)) {
    fs::permissions(file_.parent_path(), fs::perms::owner_all, fs::perm_options::replace, ec);
  }
  base::IniFile store(file_);
  store.writeString(kSection, kValue, scramblePassword(gbkPassword));
  fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, ec);
}

}  // namespace platform
