#pragma once
// Paths of the event folder. File names in the data files are GBK bytes; the file
// system takes UTF-8. Names compare without regard to case, as they did on the
// system the event files come from.
#include <filesystem>
#include <string_view>

namespace base {

// dir joined with a GBK name (which may hold "\" as the folder separator, as in
// "backpic\欢庆.jpg").
std::filesystem::path joinGbk(const std::filesystem::path& dir, std::string_view gbkName);

// dir/name, spelt as the existing entry when one matches without regard to the case
// of Latin letters ("config.ini" finds "Config.ini"); dir/name when none exists.
std::filesystem::path findIgnoringCase(const std::filesystem::path& dir, std::string_view utf8Name);

// True when the path names an existing regular file; never raises.
bool isFile(const std::filesystem::path& path);

// True when a GBK name used as a file name inside a folder would leave it or name
// a subfolder: a separator, "..", or nothing at all.
bool isUnsafeBareName(std::string_view gbkName);

}  // namespace base
