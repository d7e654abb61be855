// Prints the layout that the auto layout gives the shipped template on a
// 1920 × 1080 desktop in both draw modes, in the form scripts/build/make_dist.py
// merges into the template SysConfig.ini: "[section]" and "key=value" lines,
// UTF-8. It runs the real draw screen offscreen on a copy of the template and
// its rosters, so the positions are those the program computes with the
// installed fonts.
//
//   template_layout DIST_DIR > scripts/build/template_layout.ini
#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <filesystem>

#include "app/TForm1.h"
#include "base/gbk.h"
#include "base/ini_file.h"
#include "draw/run_record.h"
#include "platform/font_substitutions.h"
#include "screen/dialog_service.h"
#include "screen/main_menu.h"
#include "test_folder.h"

namespace fs = std::filesystem;
using base::utf8ToGbk;

namespace {

// Keys of a section that the auto layout and the exit save after it set.
struct LayoutKeys {
  std::string section;
  std::vector<std::string> keys;
};

std::vector<LayoutKeys> layoutKeys() {
  const std::vector<std::string> xy{"X坐标", "Y坐标"};
  std::vector<LayoutKeys> all{{"窗体样式", {"窗体宽", "窗体高"}}, {"TitlePic", {"Left", "Top"}}};
  for (const char* label :
       {"MainTitle", "SecTitle", "ActionHint", "PrizeName", "HonorGuest", "RateProgress", "ItemName", "TimeShow"})
    all.push_back({label, {"Left", "Top", "X坐标", "Y坐标"}});
  all.push_back({"PrizePic", {"X坐标", "Y坐标", "W", "H"}});
  all.push_back({"ShowMainTitle", xy});
  all.push_back({"ShowSecTitle", xy});
  all.push_back({"S1", {"Font.Color", "Font.Size", "Font.Name"}});
  for (int n = 1; n <= 30; ++n) {
    for (int k = 1; k <= 30; ++k) all.push_back({std::to_string(n) + "_L" + std::to_string(k), xy});
    all.push_back({std::to_string(n) + "_S1", {"Font.Color", "Font.Size", "Font.Name"}});
    all.push_back({std::to_string(n) + "_P1", {"X坐标", "Y坐标", "W", "H"}});
    for (int k = 2; k <= 30; ++k) all.push_back({std::to_string(n) + "_P" + std::to_string(k), xy});
  }
  all.push_back({"31_P1", {"X坐标", "Y坐标", "W", "H"}});
  for (int k = 2; k <= 30; ++k) all.push_back({"31_P" + std::to_string(k), xy});
  all.push_back({"L31", xy});
  all.push_back({"31_S1", {"Font.Color", "Font.Size", "Font.Name"}});
  return all;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIST_DIR\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  screen::DialogService::setHeadlessByDefault(true);

  const fs::path dist(argv[1]);
  testing_support::TestFolder folder;
  for (const char* file : {"SysConfig.ini", "NameList.txt", "PicList.txt"}) fs::copy_file(dist / file, folder / file);
  {
    // Laid out with the hint of every later start ("按空格开始抽奖"), not the
    // longer one of the very first start, so the hint the audience sees most is centred.
    base::IniFile copy(folder / "SysConfig.ini");
    draw::clearFirstRunFlag(copy);
  }
  // Both draw modes: the text layouts, then the picture layouts beside them.
  for (const bool textDraw : {false, true}) {
    {
      const fs::path config = folder / (fs::exists(folder / "Config.ini") ? "Config.ini" : "SysConfig.ini");
      base::IniFile(config).writeBool(utf8ToGbk("窗体样式"), utf8ToGbk("抽奖模式"), textDraw);
    }
    TForm1 window(folder.path(), nullptr, QSize(1920, 1080));
    window.mainMenu().action(QStringLiteral("N16"))->trigger();
    window.saveState();
  }
  const base::IniFile config(folder / "Config.ini");
  QTextStream out(stdout);
  for (const LayoutKeys& section : layoutKeys()) {
    out << "[" << QString::fromStdString(section.section) << "]\n";
    for (const std::string& key : section.keys) {
      const std::string value = config.readString(utf8ToGbk(section.section), utf8ToGbk(key), "");
      out << QString::fromStdString(key) << "=" << QString::fromStdString(base::gbkToUtf8(value)) << "\n";
    }
  }
  return 0;
}
