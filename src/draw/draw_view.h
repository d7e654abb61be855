#pragma once
// What the draw engine asks of the screen. The main window implements it; tests
// and the headless driver implement it with a recorder. Every text is GBK, as the
// tables hold it; the window converts at its edge.
//
// The engine keeps the truth about its timers (on/off and interval) and tells
// the view to start, stop or re-time them; the view only delivers the ticks back
// as calls into the engine, never while a command is running.
#include <string>
#include <vector>

namespace draw {

// Screen fields the draw writes.
enum class Field { ActionHint, RateProgress, ItemName, PrizeName, HonorGuest, TimeShow };

// PoolAhead runs as often as the user-interface thread is idle (interval 0)
// while the pool of the next start is being written ahead of it.
enum class DrawTimer { Timer1, Timer2, Timer4, PoolAhead };

// The show ticks of the screen settings menu that the draw consults.
enum class ShowTick { ActionHint, StartButton };

// Kinds of question box: the icon the operator sees.
enum class QuestionKind { Plain, Warning, Information };

struct SingleAwardItem {
  std::string caption;  // award name + "  (" + drawn + "/" + places + ")"
  bool enabled = true;
};

class DrawView {
 public:
  virtual ~DrawView() = default;

  // Start button `startRun`.
  virtual void setStartCaption(const std::string& caption) = 0;
  virtual void setFieldText(Field field, const std::string& text) = 0;
  virtual void setFieldVisible(Field field, bool visible) = 0;
  virtual bool isTicked(ShowTick tick) const = 0;

  // The rolling area: text frames 1 … 31 (31 is the big frame) and picture frames 1 … 30.
  virtual void hideRollingArea() = 0;
  virtual void setFrameText(int frame, const std::string& text) = 0;
  virtual void setFrameVisible(int frame, bool visible) = 0;
  virtual void setPictureFrameVisible(int frame, bool visible) = 0;
  // Shows photo tile `tile` (0-based; tile k is roster serial k + 1) in a picture frame; -1 clears it.
  virtual void setPictureFrameTile(int frame, int tile) = 0;
  // Names per line of the big frame, as the screen holds it.
  virtual int bigFrameNamesPerLine() const = 0;
  // Frame positions and font of batch size n.
  virtual void layoutLoad(int batchSize) = 0;
  virtual void layoutStore(int batchSize) = 0;

  // Pictures prepared once and then only copied by the rolling ticks.
  virtual bool photoTilesLoaded() const = 0;
  virtual void loadPhotoTiles() = 0;
  virtual void clearPhotoTiles() = 0;
  virtual bool prizePicturesLoaded() const = 0;
  virtual void loadPrizePictures() = 0;
  virtual void clearPrizePictures() = 0;
  // Award rolling: prepared prize picture `index` (award row index + 1) in the PrizePic box.
  virtual void showPrizePicture(int index) = 0;
  // People rolling: the prize picture of an award row, loaded from its file (empty box when none).
  virtual void showAwardPrizePicture(const std::string& pictureCell) = 0;
  virtual void setPictureLoadButtonVisible(bool visible) = 0;

  virtual void startTimer(DrawTimer timer, int intervalMs) = 0;
  virtual void stopTimer(DrawTimer timer) = 0;

  // Paints what was set so far at once, before the command goes on to slow work
  // (the synced records of a batch): the audience sees the winners then, not
  // when the command is over. A view without a screen does nothing.
  virtual void showNow() {}

  virtual void showMessage(const std::string& text) = 0;
  // Yes/No question; true for Yes.
  virtual bool ask(const std::string& text, const std::string& caption, QuestionKind kind) = 0;
  // A Yes/No question that comes up between two presses of the draw key: the
  // next press, meant to stop the names, must not answer it, so the space bar
  // does nothing on it and No is the default. True for Yes.
  virtual bool askDuringDraw(const std::string& text, const std::string& caption) = 0;

  // Sound players: MediaPlayer1 plays one file, optionally repeating; MediaPlayer2
  // holds the stop sound ready. Paths are full file paths (UTF-8).
  virtual void stopSoundPlayer() = 0;
  virtual void playSoundFile(const std::string& path, bool repeat) = 0;
  // Opens the stop sound in its player (stopping it first; an empty path leaves it
  // empty); false when the sound system failed.
  virtual bool prepareStopSound(const std::string& path) = 0;
  virtual void playStopSound() = 0;
  // The sound settings dialog, modal; its window comes with the dialogs.
  virtual void openSoundSettings() = 0;

  // The winners display for the shown award ("0": all awards), modal.
  virtual void openWinnersDisplay(const std::string& shownAward) = 0;
  virtual void setSingleAwardMenu(const std::string& caption, const std::vector<SingleAwardItem>& items) = 0;
  virtual void setModeTicks(bool textDraw, bool peopleRolling) = 0;

  // The lock check of the protected commands: true when allowed.
  virtual bool lockCheck() = 0;
  // Writes the screen's state to Config.ini (the exit save), before a reset.
  virtual void exitSave() = 0;
  // The position load, after a reset reloaded the settings.
  virtual void positionLoad() = 0;
};

}  // namespace draw
