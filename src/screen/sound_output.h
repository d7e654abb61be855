#pragma once
// One invisible player of the media back end, as SoundPlayers drives it. The
// back end (Qt Multimedia, GStreamer, PulseAudio and their codecs) lives in the
// kv_sound module, loaded at the first sound; this header is all the draw
// screen and the module share.
#include <QString>
#include <functional>

namespace screen {

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;

  // Opens a local file, or lets go of the open one when `file` is empty.
  virtual void setSource(const QString& file) = 0;
  // Plays the open file from its start.
  virtual void playFromStart() = 0;
  virtual void stop() = 0;
  virtual bool isStopped() const = 0;
  virtual bool isPlaying() const = 0;
  // The file played to its end.
  virtual bool atEnd() const = 0;
  // The open file failed: not a sound, no codec, or the output failed.
  virtual bool failed() const = 0;
  // The back end can play at all.
  virtual bool isAvailable() const = 0;

  // Called from the event loop when the file reaches its end, and when it fails.
  std::function<void()> onEnd;
  std::function<void()> onFailure;
};

// The module's entry points, by these names.
inline constexpr char kMakeSoundOutputEntry[] = "kv_makeSoundOutput";
inline constexpr char kAudioOutputPresentEntry[] = "kv_audioOutputPresent";
using MakeSoundOutput = SoundOutput* (*)();
using AudioOutputPresent = bool (*)();

}  // namespace screen
