#include "draw/headless_view.h"

#include <filesystem>

namespace draw {

bool HeadlessView::timerOn(DrawTimer timer) const {
  auto it = timers.find(timer);
  return it != timers.end() && it->second.on;
}

std::vector<std::string> HeadlessView::visibleFrameTexts() const {
  std::vector<std::string> texts;
  for (int k = 1; k <= 30; ++k)
    if (frameVisible[k]) texts.push_back(frameText[k]);
  return texts;
}

bool HeadlessView::isTicked(ShowTick tick) const {
  return tick == ShowTick::ActionHint ? hintTicked : startButtonTicked;
}

void HeadlessView::hideRollingArea() {
  for (int k = 1; k <= 31; ++k) frameVisible[k] = false;
  for (int k = 1; k <= 30; ++k) pictureVisible[k] = false;
}

void HeadlessView::setFrameText(int frame, const std::string& text) {
  if (frame >= 1 && frame <= 31) frameText[frame] = text;
}

void HeadlessView::setFrameVisible(int frame, bool visible) {
  if (frame >= 1 && frame <= 31) frameVisible[frame] = visible;
}

void HeadlessView::setPictureFrameVisible(int frame, bool visible) {
  if (frame >= 1 && frame <= 30) pictureVisible[frame] = visible;
}

void HeadlessView::setPictureFrameTile(int frame, int tile) {
  if (frame >= 1 && frame <= 30) pictureTile[frame] = tile;
}

void HeadlessView::runModal() {
  if (!whileModal || inModal_) return;
  inModal_ = true;
  whileModal();
  inModal_ = false;
}

void HeadlessView::showMessage(const std::string& text) {
  transcript.push_back({Event::Kind::Message, text, {}});
  runModal();
}

bool HeadlessView::ask(const std::string& text, const std::string&, QuestionKind) {
  transcript.push_back({Event::Kind::Question, text, {}});
  runModal();
  return answer;
}

bool HeadlessView::askDuringDraw(const std::string& text, const std::string& caption) {
  return ask(text, caption, QuestionKind::Plain);
}

bool HeadlessView::lockCheck() {
  runModal();
  return lockPasses;
}

void HeadlessView::playSoundFile(const std::string& path, bool repeat) {
  sounds.push_back(std::string(repeat ? "loop " : "play ") + std::filesystem::path(path).filename().string());
}

bool HeadlessView::prepareStopSound(const std::string& path) {
  sounds.push_back("prepare " + std::filesystem::path(path).filename().string());
  return !soundSystemFails;
}

void HeadlessView::openWinnersDisplay(const std::string& shownAward) {
  transcript.push_back({Event::Kind::WinnersDisplay, shownAward, composeWinners ? composeWinners(shownAward) : ""});
  runModal();
}

void HeadlessView::setSingleAwardMenu(const std::string& caption, const std::vector<SingleAwardItem>& items) {
  singleAwardCaption = caption;
  singleAwardItems = items;
}

void HeadlessView::setModeTicks(bool textDraw, bool peopleRolling) {
  textDrawTicked = textDraw;
  peopleRollingTicked = peopleRolling;
}

void HeadlessView::exitSave() {
  ++exitSaves;
  if (onExitSave) onExitSave();
}

void HeadlessView::positionLoad() {
  ++positionLoads;
  if (onPositionLoad) onPositionLoad();
}

}  // namespace draw
