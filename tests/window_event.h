#pragma once
// The event folder a window test starts from: Config.ini of award rows and the
// sections the test sets, with the sounds off unless it sets them (a test
// machine has no audio device, and a sound would ask about it), and a roster of
// numbered names. What a test does not set is the program's default.
//
//   window_testing::WindowEvent({{"一等奖", 3, 3, "电脑"}})
//       .set("界面设置", {"隐私_check=0", "重复中奖=0"})
//       .people(12)
//       .write(folder);
#include <string>
#include <utility>
#include <vector>

#include "base/text_file.h"
#include "draw/event_fixture.h"
#include "test_folder.h"

namespace window_testing {

using draw_testing::Award;

class WindowEvent {
 public:
  explicit WindowEvent(std::vector<Award> awards = {}) : awards_(std::move(awards)) {
    set("音效设置", {"背景音乐_check=0", "抽奖开始_check=0", "抽奖停止_check=0"});
  }

  // Lines "key=value" (UTF-8) of `section`, which keeps the place where it was
  // first set; a key set again takes the new value.
  WindowEvent& set(const std::string& section, const std::vector<std::string>& lines) {
    auto found = sections_.begin();
    while (found != sections_.end() && found->first != section) ++found;
    if (found == sections_.end()) found = sections_.insert(sections_.end(), {section, {}});
    for (const std::string& line : lines) {
      const std::string key = line.substr(0, line.find('='));
      auto same = found->second.begin();
      while (same != found->second.end() && same->substr(0, same->find('=')) != key) ++same;
      if (same == found->second.end())
        found->second.push_back(line);
      else
        *same = line;
    }
    return *this;
  }

  // NameList.txt of `count` people named stem1, stem2 …; with `pictures`,
  // PicList.txt holds the same names.
  WindowEvent& people(int count, const std::string& stem = "员工", bool pictures = false) {
    people_ = count;
    stem_ = stem;
    pictures_ = pictures;
    return *this;
  }

  // Config.ini as UTF-8 lines: the award rows, then the sections in order.
  std::vector<std::string> configLines() const {
    std::vector<std::string> lines;
    if (!awards_.empty()) lines = draw_testing::EventFixture::awardLines(awards_);
    for (const auto& [section, keys] : sections_) {
      lines.push_back("[" + section + "]");
      lines.insert(lines.end(), keys.begin(), keys.end());
    }
    return lines;
  }

  void write(const testing_support::TestFolder& folder) const {
    std::string text;
    for (const std::string& line : configLines()) text += testing_support::gbk(line) + "\r\n";
    folder.write("Config.ini", text);
    if (people_ == 0) return;
    std::vector<std::string> names;
    for (const std::string& name : draw_testing::EventFixture::numberedNames(people_, stem_))
      names.push_back(testing_support::gbk(name));
    base::rewriteLines(folder / "NameList.txt", names);
    if (pictures_) base::rewriteLines(folder / "PicList.txt", names);
  }

 private:
  std::vector<Award> awards_;
  std::vector<std::pair<std::string, std::vector<std::string>>> sections_;
  int people_ = 0;
  std::string stem_ = "员工";
  bool pictures_ = false;
};

}  // namespace window_testing
