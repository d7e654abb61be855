#pragma once
// A crowded event, written over a copy of the shipped files: a roster of long
// names (a Uyghur name with its middle dot, a Latin name, a twenty-character
// compound-surname name, a long Arabic name in Latin letters), an award of 60
// places drawn in one batch, 20 judges with every score given, 30 programmes.
// What a real company party brings to the screens; shared by the display sizes
// test, the layout report and the screenshot tools.
#include <filesystem>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/text_file.h"

namespace display_fixtures {

inline std::vector<std::string> longNameRoster() {
  const std::vector<std::string> longOnes = {"买买提·艾力", "John Smith", "欧阳纳兰爱新觉罗慕容端木皇甫尉迟令狐上官",
                                             "Muhammad Abdullah bin Ahmad Al-Rashid Hussain"};
  const char* surnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵"};
  const char* given[] = {"伟", "芳", "娜", "秀英", "敏", "静", "丽强", "磊"};
  std::vector<std::string> names;
  for (int k = 0; k < 64; ++k) {
    if (k % 4 == 0)
      names.push_back(longOnes[static_cast<std::size_t>(k / 4 % 4)] + (k < 16 ? "" : std::to_string(k)));
    else
      names.push_back(std::string(surnames[k % 8]) + given[(k / 8) % 8] + std::to_string(k));
  }
  return names;
}

inline void writeGbkLines(const std::filesystem::path& file, const std::vector<std::string>& utf8Lines) {
  std::string bytes;
  for (const std::string& line : utf8Lines) bytes += base::utf8ToGbk(line) + "\r\n";
  base::writeFileAtomically(file, bytes);
}

// Makes the event at `programDir` (a copy of the shipped files) crowded.
inline void makeCrowded(const std::filesystem::path& programDir) {
  writeGbkLines(programDir / "NameList.txt", longNameRoster());
  writeGbkLines(programDir / "PicList.txt", longNameRoster());

  const bool hasConfig = std::filesystem::exists(programDir / "Config.ini");
  base::IniFile ini(programDir / (hasConfig ? "Config.ini" : "SysConfig.ini"));
  base::IniBatch batch(ini);
  auto g = [](const std::string& utf8) { return base::utf8ToGbk(utf8); };
  // The draw walks the awards from the last row up: the first batch draws all 60.
  const std::vector<std::string> awards = {"1|特等奖|1|1|1|笔记本电脑|董事长|prize1.png",
                                           "2|一等奖|3|3|3|智能手机|总经理|exp.jpg",
                                           "3|幸运奖|60|60|60|购物卡一张|人事经理|exp.jpg"};
  for (std::size_t k = 0; k < 5; ++k)
    ini.writeString(g("奖项设置"), std::to_string(k + 1), k < awards.size() ? g(awards[k]) : "");
  ini.writeInt(g("界面设置"), g("抽奖顺序"), 1);

  std::vector<std::string> judges;
  for (int j = 1; j <= 20; ++j) judges.push_back((j % 3 == 0 ? "欧阳评委" : "评委") + std::to_string(j));
  for (int j = 1; j <= 20; ++j) ini.writeString(g("评委设置"), std::to_string(j), g(judges[std::size_t(j - 1)]));
  std::vector<std::string> scoring = {"[评分数据]", "数据格式=0", "[当前节目]", "编号=1"};
  for (int p = 1; p <= 30; ++p) {
    const std::string name = p % 5 == 0 ? "大型原创情景歌舞剧第" + std::to_string(p) + "幕" : "节目" + std::to_string(p);
    ini.writeString(g("节目设置"), std::to_string(p), g(std::to_string(p) + "|" + name + "|表演者" + std::to_string(p)));
    scoring.push_back("[" + std::to_string(p) + "." + name + "]");
    for (int j = 1; j <= 20; ++j) {
      const int tenths = 60 + (p * 7 + j * 3) % 40;
      scoring.push_back(judges[std::size_t(j - 1)] + "=" + std::to_string(tenths / 10) + "." +
                        std::to_string(tenths % 10));
    }
  }
  ini.writeString(g("节目设置"), "31", "");
  ini.writeInt(g("节目设置"), g("去最高分"), 1);
  ini.writeInt(g("节目设置"), g("去最低分"), 1);
  ini.writeString(g("节目设置"), g("文件地址"), "");
  std::filesystem::create_directories(programDir / "data");
  writeGbkLines(programDir / "data" / "评分文件.txt", scoring);
}

}  // namespace display_fixtures
