#pragma once
// The lock password of the settings, kept machine-wide outside the program folder
// so that it survives a reinstallation. In place of the registry value
// "Software\Kelvalot"/"nomle" it is the key "nomle" in section "Software\Kelvalot"
// of $XDG_CONFIG_HOME/Kelvalot/registry.ini (~/.config when XDG_CONFIG_HOME is
// unset), readable by its owner only.
//
// The stored form scrambles the password's GBK bytes with a fixed 8-byte key and
// writes each byte as two upper-case hexadecimal digits.
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Byte i xor key byte i mod 8, as upper-case hex pairs.
std::string scramblePassword(std::string_view gbkPassword);
// The reverse; an odd last character is ignored. A pair that is not hexadecimal
// raises base::ConversionError with the platform's integer message.
std::string unscramblePassword(std::string_view stored);

class PasswordStore {
 public:
  // The store of this user.
  PasswordStore();
  // A store in another file (tests).
  explicit PasswordStore(std::filesystem::path file);

  const std::filesystem::path& file() const { return file_; }

  // The password as GBK bytes; empty when none is set (no file, no key, empty value).
  // Raises base::ConversionError for a stored value that is not hexadecimal.
  std::string password() const;
  // Stores the password (empty removes the lock). Raises base::FileError when the
  // store cannot be written; the previous password then stays in force.
  void setPassword(std::string_view gbkPassword);

 private:
  std::filesystem::path file_;
};

}  // namespace platform
