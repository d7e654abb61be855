#pragma once
// A DrawView without a window: it keeps what a screen would show (captions,
// fields, frames, timers, menus) and a transcript of the operator's boxes, and
// answers every question with one fixed answer. The headless driver and the
// engine's tests draw whole events through it.
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "draw/draw_view.h"

namespace draw {

class HeadlessView : public DrawView {
 public:
  struct Event {
    enum class Kind { Message, Question, WinnersDisplay } kind;
    std::string text;     // GBK
    std::string display;  // GBK: the winners display's text, when composeWinners is set
  };
  struct TimerState {
    bool on = false;
    int interval = 0;
  };

  // The answer to every question.
  bool answer = false;
  // Lock check result, names per line of the big frame, and the two show ticks.
  bool lockPasses = true;
  int namesPerLine = 5;
  bool hintTicked = true;
  bool startButtonTicked = true;
  // Called by exitSave() and positionLoad(); empty does nothing.
  std::function<void()> onExitSave;
  std::function<void()> onPositionLoad;
  // Composes the winners display's text for a shown award at the moment it opens.
  std::function<std::string(const std::string& shownAward)> composeWinners;
  // Makes the stop-sound preparation report a failed sound system.
  bool soundSystemFails = false;
  // Runs while a message box, question, lock prompt or the winners display is
  // open, as the message loop of a modal window delivers timer ticks and input;
  // not run again from inside itself. Empty does nothing.
  std::function<void()> whileModal;

  // What the screen shows.
  std::string startCaption;
  std::map<Field, std::string> fieldText;
  std::map<Field, bool> fieldVisible;
  std::array<std::string, 32> frameText{};
  std::array<bool, 32> frameVisible{};
  std::array<bool, 31> pictureVisible{};
  std::array<int, 31> pictureTile{};
  std::map<DrawTimer, TimerState> timers;
  std::string singleAwardCaption;
  std::vector<SingleAwardItem> singleAwardItems;
  bool textDrawTicked = true;
  bool peopleRollingTicked = true;
  bool photoTiles = false;
  bool prizePictures = false;
  bool pictureLoadButton = false;
  int shownPrizePicture = -1;
  std::string awardPrizePicture;
  std::vector<int> layoutLoads;
  std::vector<int> layoutStores;
  std::vector<std::string> sounds;  // "play FILE", "loop FILE", "stop", "prepare FILE", "stop-sound"
  std::vector<Event> transcript;
  int exitSaves = 0;
  int positionLoads = 0;

  bool timerOn(DrawTimer timer) const;
  // Texts of the visible text frames 1 … 30, in frame order.
  std::vector<std::string> visibleFrameTexts() const;

  void setStartCaption(const std::string& caption) override { startCaption = caption; }
  void setFieldText(Field field, const std::string& text) override { fieldText[field] = text; }
  void setFieldVisible(Field field, bool visible) override { fieldVisible[field] = visible; }
  bool isTicked(ShowTick tick) const override;
  void hideRollingArea() override;
  void setFrameText(int frame, const std::string& text) override;
  void setFrameVisible(int frame, bool visible) override;
  void setPictureFrameVisible(int frame, bool visible) override;
  void setPictureFrameTile(int frame, int tile) override;
  int bigFrameNamesPerLine() const override { return namesPerLine; }
  void layoutLoad(int batchSize) override { layoutLoads.push_back(batchSize); }
  void layoutStore(int batchSize) override { layoutStores.push_back(batchSize); }
  bool photoTilesLoaded() const override { return photoTiles; }
  void loadPhotoTiles() override { photoTiles = true; }
  void clearPhotoTiles() override { photoTiles = false; }
  bool prizePicturesLoaded() const override { return prizePictures; }
  void loadPrizePictures() override { prizePictures = true; }
  void clearPrizePictures() override { prizePictures = false; }
  void showPrizePicture(int index) override { shownPrizePicture = index; }
  void showAwardPrizePicture(const std::string& pictureCell) override { awardPrizePicture = pictureCell; }
  void setPictureLoadButtonVisible(bool visible) override { pictureLoadButton = visible; }
  void startTimer(DrawTimer timer, int intervalMs) override { timers[timer] = {true, intervalMs}; }
  void stopTimer(DrawTimer timer) override { timers[timer].on = false; }
  void showMessage(const std::string& text) override;
  bool ask(const std::string& text, const std::string& caption, QuestionKind kind) override;
  // Recorded and answered as any other question.
  bool askDuringDraw(const std::string& text, const std::string& caption) override;
  void stopSoundPlayer() override { sounds.push_back("stop"); }
  void playSoundFile(const std::string& path, bool repeat) override;
  bool prepareStopSound(const std::string& path) override;
  void playStopSound() override { sounds.push_back("stop-sound"); }
  void openSoundSettings() override {}
  void openWinnersDisplay(const std::string& shownAward) override;
  void setSingleAwardMenu(const std::string& caption, const std::vector<SingleAwardItem>& items) override;
  void setModeTicks(bool textDraw, bool peopleRolling) override;
  bool lockCheck() override;
  void exitSave() override;
  void positionLoad() override;

 private:
  void runModal();
  bool inModal_ = false;
};

}  // namespace draw
