// The rules of sound playback, through the fake view's player record: what
// plays, repeats, stops or is reported missing, whatever the machine's audio.
#include "draw/sound_board.h"

#include <gtest/gtest.h>

#include "draw/headless_view.h"
#include "event_fixture.h"

namespace {

using draw::SoundEvent;

TEST(SoundBoard, PlaybackRules) {
  struct Case {
    std::string name;
    draw::SoundSetting setting;  // file UTF-8
    bool repeat;
    std::vector<std::string> calls;  // the player calls, in order
    std::string message;             // UTF-8; empty for none
  } cases[] = {
      {"once", {"start.wav", true}, false, {"stop", "play start.wav"}, ""},
      {"repeating", {"start.wav", true}, true, {"stop", "loop start.wav"}, ""},
      {"switched off still stops", {"start.wav", false}, true, {"stop"}, ""},
      {"missing file is named", {"gone.wav", true}, false, {"stop"}, "找不到gone.wav"},
      {"empty name is missing", {"", true}, false, {"stop"}, "找不到"},
  };
  for (const Case& c : cases) {
    draw_testing::EventFixture event;
    std::filesystem::create_directories(event.dir() / "music");
    event.dir().write("music/start.wav", "RIFF");
    draw::SoundBoard board;
    board.set(SoundEvent::DrawStart, c.setting);
    draw::HeadlessView view;
    board.play(event.folder(), view, SoundEvent::DrawStart, c.repeat);
    EXPECT_EQ(view.sounds, c.calls) << c.name;
    std::string shown;
    for (const auto& e : view.transcript) shown += base::gbkToUtf8(e.text);
    EXPECT_EQ(shown, c.message) << c.name;
  }
}

TEST(SoundBoard, StopSoundEndsTheStartSoundAndPlaysOnlyWhenOn) {
  for (bool on : {true, false}) {
    draw_testing::EventFixture event;
    std::filesystem::create_directories(event.dir() / "music");
    event.dir().write("music/stop.wav", "RIFF");
    draw::SoundBoard board;
    board.set(SoundEvent::DrawStop, {"stop.wav", on});
    draw::HeadlessView view;
    ASSERT_TRUE(board.prepareStopSound(event.folder(), view));
    board.playStopSound(view);
    const std::vector<std::string> played{"prepare stop.wav", "stop", "stop-sound"};
    const std::vector<std::string> silent{"prepare stop.wav", "stop"};
    EXPECT_EQ(view.sounds, on ? played : silent) << on;
  }
}

}  // namespace
