#pragma once
// The sounds of the draw: which file plays for which event and whether it is
// switched on (section "音效设置" of the event's configuration), and the rules of
// playing them through the window's two players.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/draw_view.h"
#include "draw/event_folder.h"

namespace draw {

enum class SoundEvent {
  BackgroundMusic,   // 背景音乐
  DrawStart,         // 抽奖开始
  DrawStop,          // 抽奖停止
  WinnersDisplay,    // 中奖结果展示
  ScoreDetails,      // 节目评分明细
  ScoreChanged,      // 评委打分变动
  ProgrammeRanking,  // 节目排名展示
};
inline constexpr std::size_t kSoundEventCount = 7;

struct SoundSetting {
  std::string file;  // bare GBK file name in the "music" folder
  bool on = true;
};

class SoundBoard {
 public:
  // Sound settings load: the seven file names and switches (an absent switch is on).
  void load(const EventFolder& folder);
  const SoundSetting& setting(SoundEvent event) const { return settings_[static_cast<std::size_t>(event)]; }
  void set(SoundEvent event, SoundSetting setting) { settings_[static_cast<std::size_t>(event)] = std::move(setting); }

  // Sound playback: stops the playing sound; with the switch on plays the event's
  // file (repeating when asked), or shows "找不到" + the file name when it is missing.
  void play(const EventFolder& folder, DrawView& view, SoundEvent event, bool repeat) const;
  // Stop-sound preparation: opens the stop sound in its player when the file
  // exists. False when the sound system failed to open it.
  bool prepareStopSound(const EventFolder& folder, DrawView& view) const;
  // Stops the draw-start sound; plays the prepared stop sound when its switch is on.
  void playStopSound(DrawView& view) const;

 private:
  std::array<SoundSetting, kSoundEventCount> settings_{};
};

// The INI key of an event's file ("背景音乐" …); the switch key adds "_check". GBK.
std::string soundKey(SoundEvent event);

}  // namespace draw

namespace draw {

// The sound files of the music folder as the sound settings list them: the .mp3
// files, then .wma, .wav and .mid (extensions in any case), each group by name.
// Bare GBK names; names that GBK cannot spell are left out, since the settings
// could not store them. An absent folder lists nothing.
std::vector<std::string> soundFileNames(const std::filesystem::path& programDir);

}  // namespace draw
