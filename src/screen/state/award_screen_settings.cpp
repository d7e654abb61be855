#include "screen/state/award_screen_settings.h"

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "screen/state/ini_names.h"

namespace screen {

namespace {

std::string key(const char* utf8) { return base::utf8ToGbk(utf8); }
std::string minusOneOrZero(bool value) { return value ? "-1" : "0"; }
std::string oneOrZero(bool value) { return value ? "1" : "0"; }

}  // namespace

void loadAwardScreenSettings(const base::IniFile& config, AwardScreenSettings& s) {
  const std::string& section = names::screenSettings();
  s.rollingSpeed = config.readInt(section, key("滚动速度"), -5);
  s.drawOrder = config.readInt(section, key("抽奖顺序"), 0);
  s.privacyOn = config.readBool(section, key("隐私_check"), false);
  s.repeatWinning = config.readBool(section, key("重复中奖"), false);
  s.groupDisplay = config.readBool(section, key("分组显示名单"), false);
  s.awardPreparation = config.readBool(section, key("抽奖准备"), false);
  s.speedRamp = config.readBool(section, key("滚动速度是否渐变"), false);
  s.autoStop = config.readBool(section, key("自动抽奖"), false);
  s.autoStart = config.readBool(section, key("自动开始"), false);
  s.privacyBegin = config.readString(section, key("隐私_begin"), "2");
  s.privacyEnd = config.readString(section, key("隐私_end"), "3");
  s.autoStopSeconds = config.readString(section, key("自动抽奖Sec"), "10");
  s.autoStartSeconds = config.readString(section, key("自动开始Sec"), "10");
}

std::vector<std::pair<std::string, std::string>> awardScreenEntries(const AwardScreenSettings& s) {
  auto tick = [&s](ShowTick which) { return minusOneOrZero(s.showTicks[static_cast<std::size_t>(which)]); };
  auto tickKey = [](ShowTick which) { return showTickKey(which); };
  return {
      {key("滚动速度"), std::to_string(s.rollingSpeed)},
      {key("滚动速度是否渐变"), minusOneOrZero(s.speedRamp)},
      {key("抽奖顺序"), std::to_string(s.drawOrder)},
      {key("隐私_check"), minusOneOrZero(s.privacyOn)},
      {key("隐私_begin"), s.privacyBegin},
      {key("隐私_end"), s.privacyEnd},
      {key("重复中奖"), minusOneOrZero(s.repeatWinning)},
      {key("分组显示名单"), minusOneOrZero(s.groupDisplay)},
      {key("抽奖准备"), minusOneOrZero(s.awardPreparation)},
      {tickKey(ShowTick::MainTitle), tick(ShowTick::MainTitle)},
      {tickKey(ShowTick::SecTitle), tick(ShowTick::SecTitle)},
      {tickKey(ShowTick::PrizePicture), tick(ShowTick::PrizePicture)},
      {tickKey(ShowTick::PrizeName), tick(ShowTick::PrizeName)},
      {tickKey(ShowTick::RateProgress), tick(ShowTick::RateProgress)},
      {tickKey(ShowTick::StartButton), tick(ShowTick::StartButton)},
      {tickKey(ShowTick::HonorGuest), tick(ShowTick::HonorGuest)},
      {tickKey(ShowTick::ActionHint), tick(ShowTick::ActionHint)},
      {tickKey(ShowTick::ItemName), tick(ShowTick::ItemName)},
      {tickKey(ShowTick::Logo), tick(ShowTick::Logo)},
      {key("自动抽奖"), oneOrZero(s.autoStop)},
      {key("自动抽奖Sec"), s.autoStopSeconds},
      {key("自动开始"), oneOrZero(s.autoStart)},
      {key("自动开始Sec"), s.autoStartSeconds},
  };
}

void saveAwardScreenSettings(base::IniFile& config, const AwardScreenSettings& settings) {
  base::IniBatch batch(config);
  for (const auto& [k, value] : awardScreenEntries(settings)) config.writeString(names::screenSettings(), k, value);
}

void applyAwardScreenSettings(const AwardScreenSettings& settings, draw::DrawSettings& draw) {
  draw.autoStop = settings.autoStop;
  draw.autoStart = settings.autoStart;
  const int stopSeconds = base::toInt(settings.autoStopSeconds);
  const int startSeconds = base::toInt(settings.autoStartSeconds);
  draw.autoStopSeconds = stopSeconds;
  draw.autoStartSeconds = startSeconds;
}

}  // namespace screen
