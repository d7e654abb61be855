// The kv_sound module: the players of the media back end behind SoundOutput.
// Built apart from the program and loaded at the first sound (sound_players.cpp).
#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QScopedValueRollback>
#include <QUrl>

#include "screen/sound_output.h"

namespace {

// Qt's GStreamer player can deadlock when it is given a new file, a seek or a
// stop while it is still opening the last file: the decoder's streaming thread
// links its new pad under a lock that the command, sent down the same pipeline,
// waits for. The draw screen would freeze for good. So a command that comes
// while a file is opening is held, and the last wish (which file, playing or
// not) is carried out once the file has opened or failed.
class MediaSoundOutput final : public screen::SoundOutput {
 public:
  MediaSoundOutput() {
    player_.setAudioOutput(&output_);
    QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus status) {
      if (status != QMediaPlayer::LoadingMedia) carryOut();
      if (status == QMediaPlayer::EndOfMedia && onEnd && !held()) onEnd();
      if (status == QMediaPlayer::InvalidMedia && onFailure) onFailure();
    });
    QObject::connect(&player_, &QMediaPlayer::errorOccurred, [this] {
      if (onFailure) onFailure();
    });
  }
  ~MediaSoundOutput() override {
    QObject::disconnect(&player_, nullptr, nullptr, nullptr);
    if (!opening()) player_.stop();
  }

  void setSource(const QString& file) override {
    wanted_ = file.isEmpty() ? QUrl() : QUrl::fromLocalFile(file);
    play_ = fromStart_ = false;
    carryOut();
  }
  void playFromStart() override {
    play_ = fromStart_ = true;
    carryOut();
  }
  void stop() override {
    play_ = fromStart_ = false;
    carryOut();
  }
  bool isStopped() const override { return !isPlaying(); }
  bool isPlaying() const override {
    return play_ && (held() || player_.playbackState() == QMediaPlayer::PlayingState);
  }
  bool atEnd() const override { return !held() && player_.mediaStatus() == QMediaPlayer::EndOfMedia; }
  bool failed() const override {
    return player_.error() != QMediaPlayer::NoError || player_.mediaStatus() == QMediaPlayer::InvalidMedia;
  }
  bool isAvailable() const override { return player_.isAvailable(); }

 private:
  bool opening() const { return player_.mediaStatus() == QMediaPlayer::LoadingMedia; }
  // A wish not yet carried out.
  bool held() const { return opening() || player_.source() != wanted_ || fromStart_; }

  void carryOut() {
    // Not again from the status signals of its own commands; and not while a
    // file opens: the status signal calls again when it has.
    if (carrying_ || opening()) return;
    const QScopedValueRollback<bool> carrying(carrying_, true);
    if (player_.source() != wanted_) {
      player_.setSource(wanted_);
      if (opening()) return;
    }
    if (play_) {
      if (fromStart_) {
        fromStart_ = false;
        player_.setPosition(0);
        player_.play();
      }
    } else if (player_.playbackState() != QMediaPlayer::StoppedState) {
      player_.stop();
    }
  }

  QAudioOutput output_;
  QMediaPlayer player_;
  QUrl wanted_;
  bool play_ = false;
  bool fromStart_ = false;
  bool carrying_ = false;
};

}  // namespace

extern "C" Q_DECL_EXPORT screen::SoundOutput* kv_makeSoundOutput() { return new MediaSoundOutput; }

extern "C" Q_DECL_EXPORT bool kv_audioOutputPresent() { return !QMediaDevices::audioOutputs().isEmpty(); }
