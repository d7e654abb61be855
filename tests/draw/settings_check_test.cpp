// A settings file that is not the program's own is kept aside and nothing is
// written over it until the operator chooses; a roster that is not GBK text is
// told once. Valid GB18030 (four-byte characters too) is the program's own.
#include "draw/settings_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "draw/headless_view.h"
#include "draw/startup.h"
#include "event_fixture.h"

namespace {

using draw_testing::EventFixture;
using testing_support::gbk;
namespace fs = std::filesystem;

const std::string kTemplate = gbk("[奖项设置]\r\n1=1|模板奖|3|1||奖品||\r\n[音效设置]\r\n背景音乐_check=0\r\n");

std::vector<fs::path> copiesOf(const EventFixture& event, const std::string& file) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(event.dir().path()))
    if (entry.path().filename().string().rfind(file + ".damaged-", 0) == 0) found.push_back(entry.path());
  return found;
}

std::vector<std::string> texts(const draw::HeadlessView& view) {
  std::vector<std::string> all;
  for (const auto& e : view.transcript) all.push_back(base::gbkToUtf8(e.text));
  return all;
}

TEST(SettingsCheck, AFileNotOfThisProgramIsKeptAsideAndTheOperatorChooses) {
  const std::string ours = gbk("[奖项设置]\r\n1=1|一等奖|2|1||手机||\r\n");
  struct Case {
    std::string name;
    std::string file;   // the damaged one
    std::string bytes;  // its content
    std::string reason;
  } cases[] = {
      {"Config.ini cut to nothing", "Config.ini", "", "空"},
      {"Config.ini cut inside its first header", "Config.ini", ours.substr(0, 5), "没有本程序的任何设置"},
      {"Config.ini of random bytes", "Config.ini", std::string("\x13\x8F\x00\xFF[\x01]\xC3", 9), "不是文字"},
      {"Config.ini saved as UTF-8", "Config.ini", base::gbkToUtf8(ours), "UTF-8"},
      {"SysConfig.ini saved as UTF-8 while Config.ini is missing", "SysConfig.ini", base::gbkToUtf8(kTemplate),
       "UTF-8"},
  };
  for (const Case& c : cases) {
    for (const bool answer : {false, true}) {
      const std::string label = c.name + (answer ? ", Yes" : ", No");
      EventFixture event;
      event.roster({"a", "b"});
      event.dir().write("SysConfig.ini", kTemplate);
      event.dir().write(c.file, c.bytes);
      draw::DrawData data;
      draw::HeadlessView view;
      view.answer = answer;
      draw::Luck luck(data, event.folder(), view);
      const bool started = draw::startUp(data, event.folder(), view, luck) == draw::StartupResult::Ready;

      ASSERT_FALSE(view.transcript.empty()) << label;
      const std::string question = texts(view)[0];
      EXPECT_EQ(view.transcript[0].kind, draw::HeadlessView::Event::Kind::Question) << label;
      EXPECT_NE(question.find(c.file), std::string::npos) << label << ": " << question;
      EXPECT_NE(question.find(c.reason), std::string::npos) << label << ": " << question;
      ASSERT_EQ(copiesOf(event, c.file).size(), 1u) << label;
      EXPECT_EQ(base::readFile(copiesOf(event, c.file)[0]), c.bytes) << label;
      if (!answer) {
        // The program ends; the file is as it was and nothing else was made.
        EXPECT_FALSE(started) << label;
        EXPECT_EQ(event.dir().read(c.file), c.bytes) << label;
        EXPECT_EQ(fs::exists(event.dir() / "Config.ini"), c.file == "Config.ini") << label;
        continue;
      }
      // Yes: the damaged file is gone (its copy stays) and start-up reads the template, or the defaults.
      EXPECT_TRUE(started) << label << ": " << ::testing::PrintToString(texts(view));
      if (c.file == "Config.ini") {
        EXPECT_EQ(data.ItemGrid.cell(draw::item::kName, 1), gbk("模板奖")) << label;
      } else {
        // Defaults: no award; the first-run flag's write makes a fresh template.
        EXPECT_EQ(data.ItemGrid.cell(draw::item::kName, 1), "") << label;
        EXPECT_NE(event.dir().read("SysConfig.ini"), c.bytes) << label;
      }
    }
  }
}

TEST(SettingsCheck, GbkAndFourByteGb18030AreThisProgramsOwn) {
  EventFixture event;
  // 𠀀 (U+20000) is the four-byte GB18030 sequence 95 32 82 36.
  event.dir().write("Config.ini", gbk("[奖项设置]\r\n1=1|一等奖|2|1||") + "\x95\x32\x82\x36" + "||\r\n");
  EXPECT_FALSE(draw::findSettingsProblem(event.folder().configFiles()));
}

TEST(RosterCheck, ARosterThatIsNotGbkTextIsToldOnceNamingTheFile) {
  struct Case {
    std::string name;
    std::string roster;
    bool told;
  } cases[] = {
      {"GBK", gbk("张三\r\n李四\r\n"), false},
      {"GB18030 with a four-byte name", gbk("张三\r\n") + "\x95\x32\x82\x36\r\n", false},
      {"UTF-8", "张三\r\n李四\r\n王五\r\n", true},
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBF张三\r\n", true},
  };
  for (const Case& c : cases) {
    EventFixture event;
    event.config(EventFixture::awardLines({{"一等奖", 2, 1}}));
    event.dir().write("NameList.txt", c.roster);
    draw::DrawData data;
    const draw::LifecycleOutcome outcome = event.start(data);
    EXPECT_EQ(outcome.message.has_value(), c.told) << c.name;
    if (c.told) {
      EXPECT_NE(base::gbkToUtf8(*outcome.message).find("NameList.txt"), std::string::npos) << c.name;
    }
    // A restart of the draw reads it again without a word: told once.
    EXPECT_FALSE(draw::restartDraw(data, event.folder()).message) << c.name;
  }
}

}  // namespace
