#pragma once
// An event folder with a Config.ini holding programmes and judges, and a scoring
// file written from UTF-8 lines as the GBK, CR LF bytes an editor saves.
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "test_folder.h"

namespace scoring_testing {

using testing_support::gbk;

inline std::string gbkLines(const std::vector<std::string>& utf8Lines) {
  std::string bytes;
  for (const auto& line : utf8Lines) bytes += gbk(line) + "\r\n";
  return bytes;
}

class ScoringEvent {
 public:
  ScoringEvent() { std::filesystem::create_directories(dir_.path() / "data"); }
  const std::filesystem::path& dir() const { return dir_.path(); }
  base::IniFile config() const { return base::IniFile(dir_.path() / "Config.ini"); }

  // Programmes "name|performer" and judges, stored as the setup dialog stores them, with both drops set.
  void lists(const std::vector<std::pair<std::string, std::string>>& programmes, const std::vector<std::string>& judges,
             bool dropHighest = true, bool dropLowest = true) const {
    std::vector<std::string> lines{"[节目设置]"};
    for (std::size_t i = 0; i < programmes.size(); ++i)
      lines.push_back(std::to_string(i + 1) + "=" + std::to_string(i + 1) + "|" + programmes[i].first + "|" +
                      programmes[i].second);
    lines.push_back(std::string("去最高分=") + (dropHighest ? "1" : "0"));
    lines.push_back(std::string("去最低分=") + (dropLowest ? "1" : "0"));
    lines.push_back("[评委设置]");
    for (std::size_t i = 0; i < judges.size(); ++i) lines.push_back(std::to_string(i + 1) + "=" + judges[i]);
    dir_.write("Config.ini", gbkLines(lines));
  }
  // The scoring file at its default place.
  void scores(const std::vector<std::string>& utf8Lines) const { dir_.write("data/评分文件.txt", gbkLines(utf8Lines)); }

 private:
  testing_support::TestFolder dir_;
};

}  // namespace scoring_testing
