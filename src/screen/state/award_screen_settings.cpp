#include "screen/state/award_screen_settings.h"

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "screen/state/config_keys.h"

namespace screen {

namespace {

// The dialog reads the keys of the settings load with defaults of its own.
template <typename Value>
std::string key(const base::IniKey<Value>& stored) {
  return base::utf8ToGbk(stored.key);
}
std::string minusOneOrZero(bool value) { return value ? "-1" : "0"; }
std::string oneOrZero(bool value) { return value ? "1" : "0"; }

}  // namespace

void loadAwardScreenSettings(const base::IniFile& config, AwardScreenSettings& s) {
  const std::string& section = draw::texts::sectionInterface();
  s.rollingSpeed = config.readInt(section, key(draw::keys::kRollingSpeed), -5);
  s.drawOrder = config.readInt(section, key(draw::keys::kDrawOrder), 0);
  s.privacyOn = config.readBool(section, key(draw::keys::kPrivacyMask), false);
  s.repeatWinning = config.readBool(section, key(draw::keys::kRepeatWinning), false);
  s.groupDisplay = config.readBool(section, key(draw::keys::kGroupDisplay), false);
  s.awardPreparation = config.readBool(section, key(draw::keys::kAwardPreparation), false);
  s.speedRamp = config.readBool(section, key(draw::keys::kSpeedRamp), false);
  s.autoStop = config.readBool(section, key(draw::keys::kAutoStop), false);
  s.autoStart = config.readBool(section, key(draw::keys::kAutoStart), false);
  s.privacyBegin = config.readString(section, key(draw::keys::kPrivacyBegin), "2");
  s.privacyEnd = config.readString(section, key(draw::keys::kPrivacyEnd), "3");
  s.autoStopSeconds = config.readString(section, key(draw::keys::kAutoStopSeconds), "10");
  s.autoStartSeconds = config.readString(section, key(draw::keys::kAutoStartSeconds), "10");
}

std::vector<std::pair<std::string, std::string>> awardScreenEntries(const AwardScreenSettings& s) {
  auto tick = [&s](ShowTick which) { return minusOneOrZero(s.showTicks[static_cast<std::size_t>(which)]); };
  auto tickKey = [](ShowTick which) { return showTickKey(which); };
  return {
      {key(draw::keys::kRollingSpeed), std::to_string(s.rollingSpeed)},
      {key(draw::keys::kSpeedRamp), minusOneOrZero(s.speedRamp)},
      {key(draw::keys::kDrawOrder), std::to_string(s.drawOrder)},
      {key(draw::keys::kPrivacyMask), minusOneOrZero(s.privacyOn)},
      {key(draw::keys::kPrivacyBegin), s.privacyBegin},
      {key(draw::keys::kPrivacyEnd), s.privacyEnd},
      {key(draw::keys::kRepeatWinning), minusOneOrZero(s.repeatWinning)},
      {key(draw::keys::kGroupDisplay), minusOneOrZero(s.groupDisplay)},
      {key(draw::keys::kAwardPreparation), minusOneOrZero(s.awardPreparation)},
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
      {key(draw::keys::kAutoStop), oneOrZero(s.autoStop)},
      {key(draw::keys::kAutoStopSeconds), s.autoStopSeconds},
      {key(draw::keys::kAutoStart), oneOrZero(s.autoStart)},
      {key(draw::keys::kAutoStartSeconds), s.autoStartSeconds},
  };
}

void saveAwardScreenSettings(base::IniFile& config, const AwardScreenSettings& settings) {
  base::IniBatch batch(config);
  for (const auto& [k, value] : awardScreenEntries(settings))
    config.writeString(draw::texts::sectionInterface(), k, value);
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
