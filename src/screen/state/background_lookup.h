#pragma once
// Where the main background picture comes from: the stored name itself (an
// absolute path works), else that name in the "backpic" folder, else the
// shipped "backpic\欢庆.jpg".
#include <filesystem>
#include <string>

namespace screen {

std::filesystem::path findBackgroundPicture(const std::filesystem::path& programDir, const std::string& gbkStoredName);

// "backpic\欢庆.jpg" in the program directory: the background when the stored one is missing.
std::filesystem::path defaultBackgroundPicture(const std::filesystem::path& programDir);

}  // namespace screen
