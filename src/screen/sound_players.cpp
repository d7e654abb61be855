#include "screen/sound_players.h"

#include "base/gbk.h"
#include "base/paths.h"
#include "platform/optional_module.h"
#include "platform/qt_gbk.h"

namespace screen {

namespace fs = std::filesystem;

fs::path musicFile(const fs::path& programDir, const std::string& gbkFileName) {
  if (gbkFileName.empty()) return {};
  return base::joinGbk(base::findIgnoringCase(programDir, "music"), gbkFileName);
}

SoundPlayers::SoundPlayers(QObject* parent, SoundBackEnd backEnd) : QObject(parent), backEnd_(std::move(backEnd)) {}

SoundBackEnd SoundPlayers::moduleBackEnd() {
  return {[]() -> SoundOutput* {
            const auto make =
                reinterpret_cast<MakeSoundOutput>(platform::moduleEntry(platform::kSoundModule, kMakeSoundOutputEntry));
            return make ? make() : nullptr;
          },
          &SoundPlayers::soundSystemAvailable};
}

bool SoundPlayers::ensurePlayers() {
  if (player1_) return true;
  std::unique_ptr<SoundOutput> first(backEnd_.make());
  if (!first) return false;
  player1_ = std::move(first);
  player2_.reset(backEnd_.make());
  // Either player's completion checks MediaPlayer1, as the repeat rule was made.
  player1_->onEnd = [this] { restartIfRepeating(); };
  player2_->onEnd = [this] { restartIfRepeating(); };
  player2_->onFailure = [this] { onStopSoundError(); };
  return true;
}

SoundPlayers::~SoundPlayers() {
  if (!player1_) return;
  player1_->stop();
  player2_->stop();
}

QString SoundPlayers::missingSoundText(const std::string& gbkFileName) {
  return QStringLiteral("找不到") + platform::fromGbk(base::excerptForMessage(gbkFileName));
}

SoundPlayers::Playback SoundPlayers::playSetting(bool switchOn, const fs::path& programDir,
                                                 const std::string& gbkFileName, bool repeat) {
  stop();
  if (!switchOn) return Playback::SwitchedOff;
  const fs::path file = musicFile(programDir, gbkFileName);
  if (!base::isFile(file)) return Playback::Missing;
  play(file, repeat);
  return Playback::Played;
}

void SoundPlayers::play(const fs::path& file, bool repeat) {
  // Without the back end there is nothing to play; errors of play stay silent.
  if (!ensurePlayers()) return;
  player1_->stop();
  repeat_ = repeat;
  player1_->setSource(platform::toQString(file));
  player1_->playFromStart();
}

void SoundPlayers::stop() {
  if (player1_ && !player1_->isStopped()) player1_->stop();
}

bool SoundPlayers::isPlaying() const { return player1_ && player1_->isPlaying(); }

void SoundPlayers::restartIfRepeating() {
  if (repeat_ && player1_ && player1_->atEnd()) player1_->playFromStart();
}

void SoundPlayers::close() {
  if (player1_) {
    for (SoundOutput* player : {player1_.get(), player2_.get()}) {
      player->stop();
      player->setSource(QString());
    }
  }
  repeat_ = false;
  stopSoundPrepared_ = false;
}

bool SoundPlayers::soundSystemAvailable() {
  const auto present =
      reinterpret_cast<AudioOutputPresent>(platform::moduleEntry(platform::kSoundModule, kAudioOutputPresentEntry));
  return present && present();
}

bool SoundPlayers::prepareStopSound(const fs::path& file) {
  stopSoundPrepared_ = false;
  stopSoundPlayed_ = false;
  if (file.empty()) {
    if (player2_) {
      if (!player2_->isStopped()) player2_->stop();
      player2_->setSource(QString());
    }
    return true;
  }
  if (!ensurePlayers()) return false;
  if (!player2_->isStopped()) player2_->stop();
  if (!backEnd_.outputPresent() || !player2_->isAvailable()) return false;
  player2_->setSource(platform::toQString(file));
  if (player2_->failed()) return false;
  stopSoundPrepared_ = true;
  return true;
}

bool SoundPlayers::prepareStopSound(const fs::path& programDir, const std::string& gbkFileName) {
  const fs::path file = musicFile(programDir, gbkFileName);
  if (!base::isFile(file)) {
    prepareStopSound(fs::path());
    return true;
  }
  return prepareStopSound(file);
}

bool SoundPlayers::stopSoundReady() const { return stopSoundPrepared_; }

void SoundPlayers::onStopSoundError() {
  const bool stillLoading = stopSoundPrepared_ && !stopSoundPlayed_;
  stopSoundPrepared_ = false;
  if (stillLoading) emit stopSoundFailed();
}

void SoundPlayers::playStopSound(bool switchOn) {
  stop();
  if (!switchOn || !stopSoundPrepared_) return;
  stopSoundPlayed_ = true;
  player2_->playFromStart();
}

}  // namespace screen
