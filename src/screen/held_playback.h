#pragma once
// The commands a sound player is given, held while its file is still opening.
//
// Qt's GStreamer player can deadlock when it is given a new file, a seek or a
// stop while it is still opening the last file: the decoder's streaming thread
// links its new pad under a lock that the command, sent down the same pipeline,
// waits for. The draw screen would freeze for good. So a command that comes
// while a file is opening is held, and the last wish (which file, playing or
// not) is carried out once the file has opened or failed.
//
// Header only: the sound module (built apart from the program) and the tests
// both use it.
#include <QScopedValueRollback>
#include <QUrl>

namespace screen {

// The media player HeldPlayback drives.
class MediaPort {
 public:
  virtual ~MediaPort() = default;
  virtual QUrl source() const = 0;
  virtual void setSource(const QUrl& file) = 0;
  // The file set last is still opening.
  virtual bool opening() const = 0;
  virtual bool playing() const = 0;
  virtual bool stopped() const = 0;
  virtual void playFromStart() = 0;
  virtual void stop() = 0;
};

class HeldPlayback {
 public:
  explicit HeldPlayback(MediaPort& media) : media_(media) {}

  void setSource(const QUrl& file) {
    wanted_ = file;
    play_ = fromStart_ = false;
    carryOut();
  }
  void playFromStart() {
    play_ = fromStart_ = true;
    carryOut();
  }
  void stop() {
    play_ = fromStart_ = false;
    carryOut();
  }

  // A wish not yet carried out.
  bool held() const { return media_.opening() || media_.source() != wanted_ || fromStart_; }
  // Playing as far as the caller can tell: a held play counts.
  bool isPlaying() const { return play_ && (held() || media_.playing()); }

  // Carries out what is held; the owner calls it on every status change of the
  // media. Does nothing while a file opens (the status change that ends the
  // opening calls again) nor from the status changes of its own commands.
  void carryOut() {
    if (carrying_ || media_.opening()) return;
    const QScopedValueRollback<bool> carrying(carrying_, true);
    carryOutNow();
  }

 private:
  void carryOutNow() {
    if (media_.source() != wanted_) {
      media_.setSource(wanted_);
      if (media_.opening()) return;
    }
    if (play_) {
      if (fromStart_) {
        fromStart_ = false;
        media_.playFromStart();
      }
    } else if (!media_.stopped()) {
      media_.stop();
    }
  }

  MediaPort& media_;
  QUrl wanted_;
  bool play_ = false;
  bool fromStart_ = false;
  bool carrying_ = false;
};

}  // namespace screen
