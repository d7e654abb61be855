#pragma once
// The main window's two invisible players. MediaPlayer1 plays one sound at a
// time (background music, draw start, the displays' sounds) and may repeat it;
// MediaPlayer2 holds the draw-stop sound opened in advance, so that it starts the
// moment the rolling stops.
//
// Nothing here waits for the media back end: opening a file is asynchronous, and
// an event loop spun inside a command would let timer ticks run in the middle of
// it. A stop sound that fails to load after prepareStopSound() returned is
// reported through stopSoundFailed().
//
// The players are made on the first sound, from the kv_sound module: an event
// whose sounds are all off never loads the media back end (its libraries and
// plugins take more memory than the rest of the draw screen's code). Without
// the module the sound system counts as failed.
#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "screen/sound_output.h"

namespace screen {

// Where the players come from: the kv_sound module, or a test's fake outputs.
struct SoundBackEnd {
  // Makes one player; null when the back end cannot be loaded.
  std::function<SoundOutput*()> make;
  // At least one audio output device is present.
  std::function<bool()> outputPresent;
};

class SoundPlayers : public QObject {
  Q_OBJECT

 public:
  explicit SoundPlayers(QObject* parent = nullptr, SoundBackEnd backEnd = moduleBackEnd());
  // The back end of the kv_sound module.
  static SoundBackEnd moduleBackEnd();
  ~SoundPlayers() override;

  enum class Playback { Played, SwitchedOff, Missing };

  // Sound playback of a sound setting: stops MediaPlayer1, then, when the switch
  // is on, plays music\<gbkFileName> from the program folder with the repeat
  // flag. Missing means no such file (or an empty name): the caller shows
  // missingSoundText(gbkFileName). Errors of the player itself stay silent.
  Playback playSetting(bool switchOn, const std::filesystem::path& programDir, const std::string& gbkFileName,
                       bool repeat);
  static QString missingSoundText(const std::string& gbkFileName);

  // MediaPlayer1: plays `file` from its start; with `repeat` it starts again each
  // time it reaches its end, until the next play() or stop().
  void play(const std::filesystem::path& file, bool repeat);
  void stop();
  bool isPlaying() const;
  bool repeat() const { return repeat_; }

  // MediaPlayer2: stops it and opens `file`, or empties it when `file` is empty.
  // Returns false when the sound system failed: there is no audio output, or the
  // file could not be handed to the player. An empty path always succeeds.
  bool prepareStopSound(const std::filesystem::path& file);
  // The stop sound in the music folder, as the batch start prepares it: nothing
  // is opened (and true returned) when music\<gbkFileName> does not exist.
  bool prepareStopSound(const std::filesystem::path& programDir, const std::string& gbkFileName);
  bool stopSoundReady() const;
  // Stops MediaPlayer1 (the draw-start sound); with the switch on plays the
  // prepared stop sound once from its start. Errors are ignored.
  void playStopSound(bool switchOn);

  // Stops both players and lets go of their files, so that the files can be replaced.
  void close();

  // At least one audio output device is present.
  static bool soundSystemAvailable();

 signals:
  // The prepared stop sound turned out not to load (not a sound, no codec, the
  // output failed) before it was played. Emitted at most once per
  // prepareStopSound().
  void stopSoundFailed();

 private:
  void restartIfRepeating();
  void onStopSoundError();
  // Makes both players when they are not made yet; false when the media back
  // end cannot be loaded.
  bool ensurePlayers();

  SoundBackEnd backEnd_;
  std::unique_ptr<SoundOutput> player1_;
  std::unique_ptr<SoundOutput> player2_;
  bool repeat_ = false;
  bool stopSoundPrepared_ = false;
  // Once the stop sound has been played, its errors are the silent ones of play.
  bool stopSoundPlayed_ = false;
};

// music\<gbkFileName> in the program folder; empty for an empty name.
std::filesystem::path musicFile(const std::filesystem::path& programDir, const std::string& gbkFileName);

}  // namespace screen
