#include "screen/sound_players.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include "base/paths.h"
#include "platform/program_dir.h"

namespace screen {

namespace fs = std::filesystem;

namespace {

QUrl urlOf(const fs::path& file) { return QUrl::fromLocalFile(platform::toQString(file)); }
}  // namespace

fs::path musicFile(const fs::path& programDir, const std::string& gbkFileName) {
  if (gbkFileName.empty()) return {};
  return base::joinGbk(base::findIgnoringCase(programDir, "music"), gbkFileName);
}

SoundPlayers::SoundPlayers(QObject* parent) : QObject(parent) {}

void SoundPlayers::ensurePlayers() {
  if (player1_) return;
  player1_ = new QMediaPlayer(this);
  output1_ = new QAudioOutput(this);
  player2_ = new QMediaPlayer(this);
  output2_ = new QAudioOutput(this);
  player1_->setAudioOutput(output1_);
  player2_->setAudioOutput(output2_);
  // Either player's completion checks MediaPlayer1, as the repeat rule was made.
  for (QMediaPlayer* player : {player1_, player2_})
    connect(player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
      if (status == QMediaPlayer::EndOfMedia) restartIfRepeating();
    });
  connect(player2_, &QMediaPlayer::errorOccurred, this, &SoundPlayers::onStopSoundError);
  connect(player2_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
    if (status == QMediaPlayer::InvalidMedia) onStopSoundError();
  });
}

SoundPlayers::~SoundPlayers() {
  if (!player1_) return;
  player1_->stop();
  player2_->stop();
}

QString SoundPlayers::missingSoundText(const std::string& gbkFileName) {
  return QStringLiteral("找不到") + platform::fromGbk(gbkFileName);
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
  ensurePlayers();
  player1_->stop();
  repeat_ = repeat;
  player1_->setSource(urlOf(file));
  player1_->setPosition(0);
  player1_->play();
}

void SoundPlayers::stop() {
  if (player1_ && player1_->playbackState() != QMediaPlayer::StoppedState) player1_->stop();
}

bool SoundPlayers::isPlaying() const { return player1_ && player1_->playbackState() == QMediaPlayer::PlayingState; }

void SoundPlayers::restartIfRepeating() {
  if (repeat_ && player1_ && player1_->mediaStatus() == QMediaPlayer::EndOfMedia) {
    player1_->setPosition(0);
    player1_->play();
  }
}

void SoundPlayers::close() {
  if (player1_) {
    for (QMediaPlayer* player : {player1_, player2_}) {
      player->stop();
      player->setSource(QUrl());
    }
  }
  repeat_ = false;
  stopSoundPrepared_ = false;
}

bool SoundPlayers::soundSystemAvailable() { return !QMediaDevices::audioOutputs().isEmpty(); }

bool SoundPlayers::prepareStopSound(const fs::path& file) {
  stopSoundPrepared_ = false;
  stopSoundPlayed_ = false;
  if (file.empty()) {
    if (player2_) {
      if (player2_->playbackState() != QMediaPlayer::StoppedState) player2_->stop();
      player2_->setSource(QUrl());
    }
    return true;
  }
  ensurePlayers();
  if (player2_->playbackState() != QMediaPlayer::StoppedState) player2_->stop();
  if (!soundSystemAvailable() || !player2_->isAvailable()) return false;
  player2_->setSource(urlOf(file));
  if (player2_->error() != QMediaPlayer::NoError || player2_->mediaStatus() == QMediaPlayer::InvalidMedia) return false;
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
  player2_->setPosition(0);
  player2_->play();
}

}  // namespace screen
