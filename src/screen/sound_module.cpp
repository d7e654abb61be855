// The kv_sound module: the players of the media back end behind SoundOutput.
// Built apart from the program and loaded at the first sound (sound_players.cpp).
#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include "screen/held_playback.h"
#include "screen/sound_output.h"

namespace {

// The player as HeldPlayback drives it.
class PlayerPort final : public screen::MediaPort {
 public:
  explicit PlayerPort(QMediaPlayer& player) : player_(player) {}
  QUrl source() const override { return player_.source(); }
  void setSource(const QUrl& file) override { player_.setSource(file); }
  bool opening() const override { return player_.mediaStatus() == QMediaPlayer::LoadingMedia; }
  bool playing() const override { return player_.playbackState() == QMediaPlayer::PlayingState; }
  bool stopped() const override { return player_.playbackState() == QMediaPlayer::StoppedState; }
  void playFromStart() override {
    player_.setPosition(0);
    player_.play();
  }
  void stop() override { player_.stop(); }

 private:
  QMediaPlayer& player_;
};

// The media back end's player; the commands it is given wait while a file
// opens (held_playback.h says why).
class MediaSoundOutput final : public screen::SoundOutput {
 public:
  MediaSoundOutput() {
    player_.setAudioOutput(&output_);
    QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus status) {
      if (status != QMediaPlayer::LoadingMedia) playback_.carryOut();
      if (status == QMediaPlayer::EndOfMedia && onEnd && !playback_.held()) onEnd();
      if (status == QMediaPlayer::InvalidMedia && onFailure) onFailure();
    });
    QObject::connect(&player_, &QMediaPlayer::errorOccurred, [this] {
      if (onFailure) onFailure();
    });
  }
  ~MediaSoundOutput() override {
    QObject::disconnect(&player_, nullptr, nullptr, nullptr);
    if (!port_.opening()) player_.stop();
  }

  void setSource(const QString& file) override {
    playback_.setSource(file.isEmpty() ? QUrl() : QUrl::fromLocalFile(file));
  }
  void playFromStart() override { playback_.playFromStart(); }
  void stop() override { playback_.stop(); }
  bool isStopped() const override { return !isPlaying(); }
  bool isPlaying() const override { return playback_.isPlaying(); }
  bool atEnd() const override { return !playback_.held() && player_.mediaStatus() == QMediaPlayer::EndOfMedia; }
  bool failed() const override {
    return player_.error() != QMediaPlayer::NoError || player_.mediaStatus() == QMediaPlayer::InvalidMedia;
  }
  bool isAvailable() const override { return player_.isAvailable(); }

 private:
  QAudioOutput output_;
  QMediaPlayer player_;
  PlayerPort port_{player_};
  screen::HeldPlayback playback_{port_};
};

}  // namespace

extern "C" Q_DECL_EXPORT screen::SoundOutput* kv_makeSoundOutput() { return new MediaSoundOutput; }

extern "C" Q_DECL_EXPORT bool kv_audioOutputPresent() { return !QMediaDevices::audioOutputs().isEmpty(); }
