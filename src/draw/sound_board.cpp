#include "draw/sound_board.h"

#include <algorithm>
#include <optional>

#include "base/gbk.h"
#include "base/paths.h"
#include "draw/draw_texts.h"

namespace draw {

using base::gbk;

std::string soundKey(SoundEvent event) {
  static const char* const keys[kSoundEventCount] = {"背景音乐",     "抽奖开始",     "抽奖停止",    "中奖结果展示",
                                                     "节目评分明细", "评委打分变动", "节目排名展示"};
  return gbk(keys[static_cast<std::size_t>(event)]);
}

void SoundBoard::load(const EventFolder& folder) {
  // Config.ini, read as the template while it does not exist yet, so a first
  // start plays the template's sounds instead of reporting empty file names.
  base::IniFile config = folder.configFiles().openConfig();
  const std::string section = gbk("音效设置");
  for (std::size_t i = 0; i < kSoundEventCount; ++i) {
    const std::string key = soundKey(static_cast<SoundEvent>(i));
    settings_[i].file = config.readString(section, key, "");
    settings_[i].on = config.readBool(section, key + "_check", true);
  }
}

namespace {
std::filesystem::path musicFile(const EventFolder& folder, const std::string& name) {
  return base::joinGbk(folder.programDir() / "music", name);
}

}  // namespace

void SoundBoard::play(const EventFolder& folder, DrawView& view, SoundEvent event, bool repeat) const {
  view.stopSoundPlayer();
  const SoundSetting& sound = setting(event);
  if (!sound.on) return;
  // A name that would leave the music folder is treated as missing.
  const bool unsafe = base::isUnsafeBareName(sound.file);
  std::filesystem::path path = musicFile(folder, sound.file);
  if (unsafe || !base::isFile(path)) {
    view.showMessage(gbk("找不到") + sound.file);
    return;
  }
  view.playSoundFile(path.string(), repeat);
}

bool SoundBoard::prepareStopSound(const EventFolder& folder, DrawView& view) const {
  const SoundSetting& sound = setting(SoundEvent::DrawStop);
  std::filesystem::path path = musicFile(folder, sound.file);
  // Without a file the player is emptied, so no sound of an earlier batch plays.
  if (base::isUnsafeBareName(sound.file) || !base::isFile(path)) return view.prepareStopSound({});
  return view.prepareStopSound(path.string());
}

void SoundBoard::playStopSound(DrawView& view) const {
  view.stopSoundPlayer();
  if (setting(SoundEvent::DrawStop).on) view.playStopSound();
}

}  // namespace draw

namespace draw {

std::vector<std::string> soundFileNames(const std::filesystem::path& programDir) {
  static const char* const kExtensions[] = {".mp3", ".wma", ".wav", ".mid"};
  std::vector<std::vector<std::string>> groups(std::size(kExtensions));
  std::error_code ec;
  const std::filesystem::path music = base::findIgnoringCase(programDir, "music");
  for (std::filesystem::directory_iterator it(music, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::string extension = it->path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::string utf8 = it->path().filename().string();
    // A name that is not UTF-8 cannot be stored in Config.ini: it is not offered.
    const std::optional<std::string> name = base::tryUtf8ToGbk(utf8);
    if (!name) continue;
    for (std::size_t g = 0; g < groups.size(); ++g)
      if (extension == kExtensions[g]) groups[g].push_back(*name);
  }
  std::vector<std::string> names;
  for (auto& group : groups) {
    std::sort(group.begin(), group.end());
    names.insert(names.end(), group.begin(), group.end());
  }
  return names;
}

}  // namespace draw
