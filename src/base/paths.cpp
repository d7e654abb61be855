#include "base/paths.h"

#include <string>

#include "base/gbk.h"

namespace base {

namespace fs = std::filesystem;

fs::path joinGbk(const fs::path& dir, std::string_view gbkName) {
  std::string name = gbkToUtf8(gbkName);
  for (char& c : name)
    if (c == '\\') c = '/';
  fs::path result = dir;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t slash = name.find('/', start);
    std::string part = name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (!part.empty()) result = findIgnoringCase(result, part);
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return result;
}

namespace {
// UTF-8 bytes of non-Latin characters are all >= 0x80, so folding ASCII letters is exact.
std::string foldAscii(std::string_view text) {
  std::string folded(text);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}
}  // namespace

fs::path findIgnoringCase(const fs::path& dir, std::string_view utf8Name) {
  fs::path exact = dir / fs::path(std::string(utf8Name));
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact;
  const std::string wanted = foldAscii(utf8Name);
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (foldAscii(candidate) == wanted) return dir / candidate;
  }
  return exact;
}

bool isFile(const fs::path& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

bool isUnsafeBareName(std::string_view gbkName) {
  if (gbkName.empty() || gbkName == "." || gbkName == "..") return true;
  if (findSingleByte(gbkName, '/') != std::string_view::npos) return true;
  if (findSingleByte(gbkName, '\\') != std::string_view::npos) return true;
  if (gbkName.find('\0') != std::string_view::npos) return true;
  return gbkName.find("..") != std::string_view::npos;
}

}  // namespace base
