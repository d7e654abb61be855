// The kv_sound module: the players of the media back end behind SoundOutput.
// Built apart from the program and loaded at the first sound (sound_players.cpp).
#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include "screen/sound_output.h"

namespace {

class MediaSoundOutput final : public screen::SoundOutput {
 public:
  MediaSoundOutput() {
    player_.setAudioOutput(&output_);
    QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus status) {
      if (status == QMediaPlayer::EndOfMedia && onEnd) onEnd();
      if (status == QMediaPlayer::InvalidMedia && onFailure) onFailure();
    });
    QObject::connect(&player_, &QMediaPlayer::errorOccurred, [this] {
      if (onFailure) onFailure();
    });
  }
  ~MediaSoundOutput() override {
    QObject::disconnect(&player_, nullptr, nullptr, nullptr);
    player_.stop();
  }

  void setSource(const QString& file) override {
    player_.setSource(file.isEmpty() ? QUrl() : QUrl::fromLocalFile(file));
  }
  void playFromStart() override {
    player_.setPosition(0);
    player_.play();
  }
  void stop() override { player_.stop(); }
  bool isStopped() const override { return player_.playbackState() == QMediaPlayer::StoppedState; }
  bool isPlaying() const override { return player_.playbackState() == QMediaPlayer::PlayingState; }
  bool atEnd() const override { return player_.mediaStatus() == QMediaPlayer::EndOfMedia; }
  bool failed() const override {
    return player_.error() != QMediaPlayer::NoError || player_.mediaStatus() == QMediaPlayer::InvalidMedia;
  }
  bool isAvailable() const override { return player_.isAvailable(); }

 private:
  QAudioOutput output_;
  QMediaPlayer player_;
};

}  // namespace

extern "C" Q_DECL_EXPORT screen::SoundOutput* kv_makeSoundOutput() { return new MediaSoundOutput; }

extern "C" Q_DECL_EXPORT bool kv_audioOutputPresent() { return !QMediaDevices::audioOutputs().isEmpty(); }
