// The draw log across a restart of the draw: the log is never truncated, and
// the last logged award survives the restart, so drawing on in the same award
// writes no second header block.
#include <gtest/gtest.h>

#include <algorithm>

#include "event_fixture.h"

namespace {

using draw_testing::EventFixture;

TEST(RestartLog, RestartInTheMiddleOfAward1WritesNoNewHeader) {
  EventFixture event;
  auto config = EventFixture::awardLines({{"一等奖", 4, 2}, {"二等奖", 2, 2}});
  config.insert(config.end(), {"[界面设置]", "抽奖顺序=0"});
  event.config(config);
  event.roster(EventFixture::numberedNames(10));
  draw::DrawData data;
  event.start(data);
  const std::string rule(75, '-');
  auto headers = [&] {
    auto lines = event.lines("log.txt");
    return std::count(lines.begin(), lines.end(), rule);
  };

  ASSERT_TRUE(draw_testing::drawBatch(data, event.folder()));
  ASSERT_EQ(data.state.currentAward, "1");
  ASSERT_EQ(headers(), 1);
  const std::size_t logLines = event.lines("log.txt").size();

  draw::restartDraw(data, event.folder());
  EXPECT_TRUE(event.lines("LuckName.txt").empty());
  EXPECT_EQ(event.lines("log.txt").size(), logLines);  // the log is kept

  ASSERT_TRUE(draw_testing::drawBatch(data, event.folder()));
  EXPECT_EQ(data.state.currentAward, "1");
  EXPECT_EQ(headers(), 1);
  EXPECT_EQ(event.lines("log.txt").size(), logLines + 2);  // two names, no header

  // Award 2 after award 1 gets its own header.
  ASSERT_TRUE(draw_testing::drawBatch(data, event.folder()));
  ASSERT_TRUE(draw_testing::drawBatch(data, event.folder()));
  EXPECT_EQ(data.state.currentAward, "2");
  EXPECT_EQ(headers(), 2);
}

}  // namespace
