#include "draw/luck.h"

#include <chrono>
#include <exception>
#include <optional>

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "draw/config_keys.h"
#include "draw/draw_texts.h"
#include "draw/lifecycle.h"
#include "draw/pool.h"
#include "draw/rolling_feed.h"
#include "draw/selection.h"

namespace draw {

using base::gbk;

namespace {
constexpr int kCountdownInterval = 1000;
constexpr int kWinnersDisplayDelay = 3000;
// A slice of the pool written ahead stays well inside a frame, so the screen
// stays smooth while it runs; rows are written in steps of kPoolAheadRows
// between looks at the clock.
constexpr auto kPoolAheadSlice = std::chrono::milliseconds(4);
constexpr std::size_t kPoolAheadRows = 4096;

const std::string& captionStart() {
  static const std::string text = gbk("开始");
  return text;
}
const std::string& captionStop() {
  static const std::string text = gbk("停止");
  return text;
}
const std::string& captionNextAward() {
  static const std::string text = gbk("下一奖项");
  return text;
}
}  // namespace

Luck::Luck(DrawData& data, const EventFolder& folder, DrawView& view)
    : data_(data), folder_(folder), view_(view), startCaption_(captionStart()) {}

template <typename Command>
void Luck::guarded(Command&& command) {
  if (busy_) return;
  busy_ = true;
  try {
    command();
  } catch (const base::ConversionError& error) {
    view_.showMessage(base::utf8ToGbk(error.what()));
  } catch (const base::FileError& error) {
    // A record that could not be written is not in the tables either: the
    // message names who was not recorded, and their places are drawn again.
    view_.showMessage(base::utf8ToGbk(error.what()));
  } catch (...) {
    busy_ = false;
    throw;
  }
  busy_ = false;
  // A slice that came while the command waited on a modal window was put off.
  if (poolAhead_.pending() && !timer1On_) setPoolAheadTimer(true);
}

// --- timers as the view sees them -----------------------------------------

void Luck::setCaption(const std::string& caption) {
  startCaption_ = caption;
  view_.setStartCaption(caption);
}

void Luck::setRolling(bool on) {
  if (on == timer1On_) return;
  timer1On_ = on;
  if (on)
    view_.startTimer(DrawTimer::Timer1, timer1Interval_);
  else
    view_.stopTimer(DrawTimer::Timer1);
}

void Luck::setRollingInterval(int intervalMs) {
  if (intervalMs == timer1Interval_) return;
  timer1Interval_ = intervalMs;
  if (timer1On_) view_.startTimer(DrawTimer::Timer1, timer1Interval_);
}

void Luck::setTimer2(bool on) {
  timer2On_ = on;
  if (on)
    view_.startTimer(DrawTimer::Timer2, kWinnersDisplayDelay);
  else
    view_.stopTimer(DrawTimer::Timer2);
}

void Luck::setPoolAheadTimer(bool on) {
  if (on == poolAheadOn_) return;
  poolAheadOn_ = on;
  if (on)
    view_.startTimer(DrawTimer::PoolAhead, 0);
  else
    view_.stopTimer(DrawTimer::PoolAhead);
}

void Luck::setTimer4(bool on) {
  timer4On_ = on;
  if (on)
    view_.startTimer(DrawTimer::Timer4, kCountdownInterval);
  else
    view_.stopTimer(DrawTimer::Timer4);
}

// --- the command -------------------------------------------------------------

bool Luck::refusedWhileBlocked() {
  if (data_.state.drawBlocked.empty() || timer1On_) return false;
  view_.showMessage(data_.state.drawBlocked);
  return true;
}

void Luck::startStopCommand() {
  guarded([this] {
    if (refusedWhileBlocked()) return;
    if (!timer1On_) {
      view_.hideRollingArea();
      view_.setFieldText(Field::ActionHint, gbk("即将开始抽取"));
      view_.setFieldVisible(Field::ActionHint, true);
    }
    if (timer4On_) return;
    const DrawSettings& s = data_.settings;
    data_.state.countdown = 0;
    if (s.autoStop || s.autoStart) data_.state.countdown = timer1On_ ? s.autoStopSeconds : s.autoStartSeconds;
    if (data_.state.countdown > 0 && startCaption_ != captionNextAward()) {
      if ((s.autoStop && timer1On_) || (s.autoStart && !timer1On_)) {
        view_.setFieldText(Field::TimeShow, "");
        view_.setFieldVisible(Field::TimeShow, true);
        setTimer4(true);
        return;
      }
    }
    drawStep();
  });
}

void Luck::singleAwardCommand(int row) {
  if (busy_) return;
  if (data_.state.drawBlocked.empty() || timer1On_) data_.state.singleAwardTarget = row;
  startStopCommand();
}

void Luck::showInterruptedBatch(const std::vector<Table::Row>& records) {
  if (records.empty()) return;
  const int award = base::parseInt(records.front()[winner::kAwardSerial]).value_or(0);
  if (data_.isAwardRow(award)) {
    const auto row = static_cast<std::size_t>(award);
    showAward(row);
    try {
      view_.setFieldText(Field::RateProgress, progressLine(row));
    } catch (const base::ConversionError&) {
      // A damaged count was told at start-up; the winners are shown all the same.
    }
  }
  if (!data_.settings.peopleRolling) {
    view_.setFieldText(Field::HonorGuest, records.front()[winner::kDisplayName]);
    view_.setFieldVisible(Field::HonorGuest, true);
    return;
  }
  std::vector<ShownWinner> winners;
  for (const Table::Row& record : records)
    winners.push_back({record[winner::kDisplayName], base::parseInt(record[winner::kSerial]).value_or(0)});
  const int n = static_cast<int>(winners.size());
  if (!data_.settings.textDraw && !view_.photoTilesLoaded()) view_.loadPhotoTiles();
  showFramesForBatch(data_, view_, n);
  view_.layoutLoad(n);
  showWinners(data_, view_, winners);
}

void Luck::Timer4Timer() {
  if (busy_ || !timer4On_) return;
  guarded([this] {
    int& countdown = data_.state.countdown;
    view_.setFieldText(Field::TimeShow, std::to_string(countdown));
    if (countdown > 0) {
      --countdown;
      return;
    }
    setTimer4(false);
    view_.setFieldVisible(Field::TimeShow, false);
    drawStep();
  });
}

void Luck::drawStep() {
  const bool starting = !timer1On_;
  if (data_.settings.peopleRolling) {
    if (starting)
      peopleStart();
    else
      peopleStop();
  } else {
    if (starting)
      awardStart();
    else
      awardStop();
  }
}

void Luck::Timer1Timer() {
  if (ticking_ || !timer1On_) return;
  ticking_ = true;
  try {
    if (data_.settings.peopleRolling)
      peopleRollingStep(data_, view_);
    else
      awardRollingStep(data_, view_);
    if (data_.settings.speedRamp)
      setRollingInterval(nextRollingInterval(timer1Interval_, data_.settings.baseRollingInterval));
  } catch (const base::ConversionError& error) {
    view_.showMessage(base::utf8ToGbk(error.what()));
  } catch (...) {
    ticking_ = false;
    throw;
  }
  ticking_ = false;
}

void Luck::poolAheadTimer() {
  if (!poolAheadOn_) return;
  // The working roster is the running command's or the rolling batch's: the
  // build waits for the command's end, and a batch start plans anew.
  if (busy_ || timer1On_ || !data_.settings.peopleRolling) {
    setPoolAheadTimer(false);
    return;
  }
  const auto until = std::chrono::steady_clock::now() + kPoolAheadSlice;
  bool more = true;
  while (more && std::chrono::steady_clock::now() < until) more = poolAhead_.step(data_, kPoolAheadRows);
  if (!more) setPoolAheadTimer(false);
}

void Luck::planPoolAhead() {
  if (!data_.settings.peopleRolling || timer1On_) return;
  try {
    // The start builds the pool of the award it chooses, or of the current award
    // when it chooses none.
    const AwardChoice choice = walkAwards([](std::size_t) {});
    const std::string award = choice.row ? data_.ItemGrid.cell(item::kSerial, choice.row) : data_.state.currentAward;
    if (award.empty()) return;
    const base::IniFile config = folder_.configFiles().openConfigOnly();
    setPoolAheadTimer(poolAhead_.plan(data_, config, award));
  } catch (const base::ConversionError&) {
    // A damaged count or an unreadable Config.ini: the start meets it and says
    // so; until then the pool is simply not written ahead.
  } catch (const base::FileError&) {
  }
}

void Luck::Timer2Timer() {
  if (busy_ || !timer2On_) return;
  guarded([this] {
    setTimer2(false);
    data_.state.shownAward = data_.state.currentAward;
    view_.openWinnersDisplay(data_.state.shownAward);
  });
}

void Luck::popupMenuOpened() {
  if (timer2On_) setTimer2(false);
}

void Luck::abandonBatch() {
  if (!timer1On_ && !timer4On_) return;
  setTimer4(false);
  view_.setFieldVisible(Field::TimeShow, false);
  setRolling(false);
  view_.stopSoundPlayer();
  view_.hideRollingArea();
  setCaption(captionStart());
  data_.state.batchSize = 0;
}

void Luck::stopSoundFailed() {
  guarded([this] { soundSystemFailed(); });
}

void Luck::soundSystemFailed() {
  if (soundFailureTold_) return;
  soundFailureTold_ = true;
  if (!data_.settings.peopleRolling) {
    view_.showMessage(gbk("声音设备打开失败"));
    return;
  }
  // Yes opens a window in front of the audience, so the question is one the
  // draw key cannot answer.
  if (view_.askDuringDraw(gbk("电脑声卡未安装,关闭音乐可解决,是否打开设置？"), gbk("提示"))) {
    view_.openSoundSettings();
    sounds_.load(folder_);
    playBackgroundMusic();
  }
}

void Luck::playBackgroundMusic() { sounds_.play(folder_, view_, SoundEvent::BackgroundMusic, true); }

// --- people rolling ----------------------------------------------------------

std::string Luck::progressLine(std::size_t row) const {
  const Table& items = data_.ItemGrid;
  const int supplementary = data_.count(row, item::kSupplementary);
  const int givenUp = data_.count(row, item::kGivenUp);
  std::string line =
      gbk("正在抽取") + items.cell(item::kName, row) + gbk(",共") + std::to_string(data_.places(row)) + gbk("名");
  if (supplementary > 0) line += gbk("(含补奖") + std::to_string(supplementary) + gbk("名)");
  line += gbk("已抽取") + std::to_string(data_.count(row, item::kDrawn)) + gbk("名");
  if (givenUp > 0) line += gbk("(弃奖") + std::to_string(givenUp) + gbk("名)");
  return line;
}

bool Luck::exactlyFinished(std::size_t row) const {
  return data_.count(row, item::kPlaces) + data_.count(row, item::kSupplementary) - data_.count(row, item::kDrawn) -
             data_.count(row, item::kShortfall) ==
         data_.count(row, item::kGivenUp);
}

namespace {
// A table whose only row is empty (what an empty award section leaves) has no award.
bool hasAwardRow(const DrawData& data) {
  if (data.awardRowCount() < 1) return false;
  if (data.awardRowCount() > 1) return true;
  for (const auto& cell : data.ItemGrid.row(1))
    if (!cell.empty() && cell != " ") return true;
  return false;
}

std::size_t currentRow(const DrawData& data) { return static_cast<std::size_t>(base::toInt(data.state.currentAward)); }
}  // namespace

template <typename OnShortfall>
Luck::AwardChoice Luck::walkAwards(OnShortfall onShortfall) const {
  const DrawState& state = data_.state;
  const int order = data_.settings.drawOrder;
  const int rows = static_cast<int>(data_.awardRowCount());
  AwardChoice choice;
  if (order != 0 && order != 1) return choice;
  bool poolEmpty = lastPoolEmpty(data_);
  for (int i = 0; i < rows; ++i) {
    const int r = order == 0 ? i + 1 : rows - i;
    const auto row = static_cast<std::size_t>(r);
    if (state.singleAwardTarget > 0 && r != state.singleAwardTarget) continue;
    if (state.singleAwardTarget > 0 && exactlyFinished(row)) {
      choice.finishedTarget = row;
      return choice;
    }
    int batch = data_.count(row, item::kBatchSize);
    const int remaining = data_.remaining(row);
    if (remaining <= batch) batch = remaining;
    if (order == 0 && poolEmpty && batch > 0 && nobodyMayWin(row)) {
      onShortfall(row);
      poolEmpty = false;
      continue;
    }
    if (batch > 0) {
      choice.row = row;
      choice.batch = batch;
      return choice;
    }
  }
  return choice;
}

void Luck::chooseAward() {
  DrawState& state = data_.state;
  // A row found short would give the working roster one empty row, so that the
  // rows after it are not short as well; the walk keeps that in its own flag
  // instead, and the pool written ahead for the award it chooses stays.
  const AwardChoice choice = walkAwards([this](std::size_t row) {
    data_.setCount(
        row, item::kShortfall,
        data_.count(row, item::kPlaces) + data_.count(row, item::kSupplementary) - data_.count(row, item::kDrawn));
  });
  if (choice.finishedTarget) {
    state.singleAwardTarget = -1;
    view_.showMessage(data_.ItemGrid.cell(item::kName, choice.finishedTarget) + gbk("已抽完"));
  }
  if (choice.row) state.currentAward = data_.ItemGrid.cell(item::kSerial, choice.row);
  // An award with more places given up than it has would leave a negative batch;
  // nothing can be drawn from it, which is the end of the draw.
  state.batchSize = choice.batch;
  if (!state.currentAward.empty()) showCurrentAward();
}

bool Luck::nobodyMayWin(std::size_t row) const {
  const base::IniFile config = folder_.configFiles().openConfigOnly();
  return peopleWhoMayWin(data_, config, data_.ItemGrid.cell(item::kSerial, row)) == 0;
}

void Luck::showCurrentAward() { showAward(currentRow(data_)); }

void Luck::showAward(std::size_t row) {
  const Table& items = data_.ItemGrid;
  view_.setFieldText(Field::PrizeName, items.cell(item::kPrize, row));
  view_.setFieldText(Field::ItemName, items.cell(item::kName, row));
  const std::string& guest = items.cell(item::kGuest, row);
  view_.setFieldText(Field::HonorGuest, guest.size() >= 2 ? gbk("抽奖嘉宾:") + guest : std::string());
  view_.showAwardPrizePicture(items.cell(item::kPicture, row));
}

void Luck::peopleStart() {
  DrawState& state = data_.state;
  if (!hasAwardRow(data_)) {
    view_.showMessage(gbk("奖项设置为空,无法开始抽奖,请检查[参数设置]->[奖项设置]!"));
    return;
  }
  if (sounds_.setting(SoundEvent::DrawStop).on && !sounds_.prepareStopSound(folder_, view_)) soundSystemFailed();
  if (!data_.settings.textDraw) {
    if (!view_.photoTilesLoaded()) view_.loadPhotoTiles();
    for (std::size_t r = 1; r <= data_.awardRowCount(); ++r) {
      if (data_.count(r, item::kBatchSize) > kFrameCount) {
        view_.showMessage(gbk("图片抽奖单次不能超过30名,请修改") + data_.ItemGrid.cell(item::kName, r) +
                          gbk("的[每次抽取个数]."));
        return;
      }
    }
  }
  chooseAward();
  {
    base::IniFile config = folder_.configFiles().openConfigOnly();
    if (auto emptyPool = buildPool(data_, config, &poolAhead_)) view_.showMessage(*emptyPool);
  }
  const int poolSize = static_cast<int>(data_.AllNameGrid.rowCount()) - 1;
  if (poolSize < state.batchSize) state.batchSize = poolSize < 0 ? 0 : poolSize;

  showFramesForBatch(data_, view_, state.batchSize);
  view_.layoutLoad(state.batchSize);
  setTimer2(false);
  if (!state.currentAward.empty()) view_.setFieldText(Field::RateProgress, progressLine(currentRow(data_)));

  if (data_.settings.awardPreparation && startCaption_ == captionNextAward()) {
    setCaption(captionStart());
    view_.hideRollingArea();
    view_.setFieldText(Field::ActionHint, gbk("即将开始抽取 ") + data_.ItemGrid.cell(item::kName, currentRow(data_)));
    view_.setFieldVisible(Field::ActionHint, true);
    return;
  }
  setCaption(captionStop());
  timer1Interval_ = data_.settings.speedRamp ? kRampStartInterval : data_.settings.baseRollingInterval;
  if (state.batchSize == 0) {
    endDraw();
  } else {
    setRolling(true);
    sounds_.play(folder_, view_, SoundEvent::DrawStart, true);
  }
  batchPick(data_);
}

void Luck::endDraw() {
  DrawState& state = data_.state;
  view_.stopSoundPlayer();
  if (state.singleAwardTarget == 0) view_.setFieldText(Field::ActionHint, gbk("抽奖结束"));
  if (view_.isTicked(ShowTick::ActionHint)) view_.setFieldVisible(Field::ActionHint, true);
  setRolling(false);
  setCaption(captionStart());
  bool showAll = false;
  if (state.singleAwardTarget == 0)
    showAll = view_.ask(gbk("抽奖结束,是否显示全部中奖名单?"), gbk("提示"), QuestionKind::Plain);
  if (state.singleAwardTarget < 0) state.singleAwardTarget = 0;
  if (showAll) {
    setTimer2(false);
    state.shownAward = "0";
    view_.openWinnersDisplay(state.shownAward);
    playBackgroundMusic();
  }
}

void Luck::peopleStop() {
  DrawState& state = data_.state;
  setRolling(false);
  const std::vector<ShownWinner> shown = batchWinners(data_, state.batchSize);
  showWinners(data_, view_, shown);
  setCaption(captionStart());
  sounds_.playStopSound(view_);
  view_.showNow();
  // The winners are recorded before anything else is written: a full disk must
  // not hold them up behind a message about the layout, and what failed besides
  // is told after what became of them.
  logHeaderIfNewAward(data_, folder_);
  const std::size_t recordsBefore = data_.winnerCount();
  std::optional<std::string> recordFailure;
  try {
    batchRecord(data_, folder_);
  } catch (const base::FileError& error) {
    recordFailure = base::utf8ToGbk(error.what());
  }
  const std::size_t row = currentRow(data_);
  // The progress line counts what is on disk; names that are not are taken off the screen.
  view_.setFieldText(Field::RateProgress, progressLine(row));
  hideUnrecordedWinners(data_, view_, shown, data_.winnerCount() - recordsBefore);
  if (recordFailure) view_.showMessage(*recordFailure);
  view_.layoutStore(state.batchSize);
  if (data_.settings.awardPreparation && exactlyFinished(row)) setCaption(captionNextAward());
  if (data_.settings.groupDisplay && data_.ItemGrid.cell(item::kPlaces, row) == data_.ItemGrid.cell(item::kDrawn, row))
    setTimer2(true);
  buildSingleAwardMenu();
}

// --- award rolling -----------------------------------------------------------

void Luck::awardStart() {
  if (!hasAwardRow(data_)) {
    view_.showMessage(gbk("奖项设置为空,无法开始抽奖,请检查[参数设置]->[奖项设置]!"));
    return;
  }
  if (!data_.settings.textDraw && !view_.photoTilesLoaded()) view_.loadPhotoTiles();
  buildTickets(data_);
  if (data_.OderList.rowCount() < 2) {
    view_.showMessage(gbk("奖项已抽完,谢谢参与!"));
    return;
  }
  if (data_.AllNameGrid.rowCount() < 2) {
    view_.showMessage(gbk("全部人员已抽完,谢谢参与!"));
    return;
  }
  if (!view_.prizePicturesLoaded()) view_.loadPrizePictures();
  if (!sounds_.prepareStopSound(folder_, view_)) soundSystemFailed();
  setTimer2(false);
  setCaption(captionStop());
  timer1Interval_ = data_.settings.speedRamp ? kRampStartInterval : data_.settings.baseRollingInterval;
  setRolling(true);

  const Table& queue = data_.AllNameGrid;
  std::string turn = queue.cell(person::kDisplayName, 1) + gbk(" 正在抽取 ");
  if (queue.rowCount() > 2) turn += gbk("下一位:") + queue.cell(person::kDisplayName, 2);
  view_.setFieldText(Field::HonorGuest, turn);
  if (!data_.settings.textDraw) {
    view_.setPictureFrameTile(1, base::toInt(queue.cell(person::kSerial, 1)) - 1);
    view_.setPictureFrameVisible(1, true);
  }
  view_.setFieldVisible(Field::HonorGuest, true);
  view_.setFieldVisible(Field::ItemName, true);
  view_.setFieldVisible(Field::ActionHint, false);
  sounds_.play(folder_, view_, SoundEvent::DrawStart, true);
}

void Luck::awardStop() {
  const std::size_t award = awardPickAndRecord(data_, folder_);
  view_.showPrizePicture(static_cast<int>(award) - 1);
  view_.setFieldText(Field::PrizeName, data_.ItemGrid.cell(item::kPrize, award));
  view_.setFieldText(Field::ItemName, data_.ItemGrid.cell(item::kName, award));
  setCaption(captionStart());
  data_.state.lastLoggedAward = data_.state.currentAward;
  setRolling(false);
  sounds_.playStopSound(view_);
  buildSingleAwardMenu();
}

// --- menus and modes ---------------------------------------------------------

void Luck::buildSingleAwardMenu() {
  std::vector<SingleAwardItem> items;
  for (std::size_t r = 1; r <= data_.awardRowCount(); ++r) {
    SingleAwardItem entry;
    try {
      entry.caption = data_.ItemGrid.cell(item::kName, r) + "  (" + data_.ItemGrid.cell(item::kDrawn, r) + "/" +
                      std::to_string(data_.places(r)) + ")";
      entry.enabled = data_.remaining(r) > 0;
    } catch (const base::ConversionError&) {
      // A damaged row still gets its item, disabled: it cannot be drawn anyway.
      entry.caption = data_.ItemGrid.cell(item::kName, r);
      entry.enabled = false;
    }
    items.push_back(std::move(entry));
  }
  view_.setSingleAwardMenu(data_.settings.peopleRolling ? gbk("单独抽取") : gbk("抽取状况"), items);
  planPoolAhead();
}

void Luck::changeMode(bool textDraw, bool peopleRolling, const std::string& message) {
  abandonBatch();
  DrawSettings& s = data_.settings;
  const bool drawModeChange = textDraw != s.textDraw;
  s.textDraw = textDraw;
  s.peopleRolling = peopleRolling;
  view_.setModeTicks(textDraw, peopleRolling);
  base::IniFile config = folder_.configFiles().openConfig();
  if (drawModeChange) {
    writeKey(config, keys::kTextDraw, textDraw);
    view_.setPictureLoadButtonVisible(!textDraw && view_.isTicked(ShowTick::StartButton));
  } else {
    writeKey(config, keys::kPeopleRolling, peopleRolling);
  }
  buildSingleAwardMenu();
  view_.exitSave();
  view_.clearPhotoTiles();
  if (!drawModeChange && !peopleRolling) view_.clearPrizePictures();
  view_.showMessage(message);
  LifecycleOutcome outcome = resetDraw(data_, folder_);
  if (outcome.hint) view_.setFieldText(Field::ActionHint, *outcome.hint);
  view_.positionLoad();
  if (outcome.message) view_.showMessage(*outcome.message);
  buildSingleAwardMenu();
}

void Luck::N9Click() {
  guarded([this] {
    if (data_.settings.textDraw) return;
    if (!view_.lockCheck()) {
      view_.showMessage(gbk("抱歉,密码不正确,不能修改"));
      return;
    }
    changeMode(true, data_.settings.peopleRolling, gbk("抽奖模式已修改,将重新开始抽奖"));
  });
}

void Luck::N10Click() {
  guarded([this] {
    if (!data_.settings.textDraw) return;
    if (!view_.lockCheck()) {
      view_.showMessage(gbk("抱歉,密码不正确不能修改"));
      return;
    }
    changeMode(false, data_.settings.peopleRolling, gbk("抽奖模式已修改,将重新开始抽奖"));
  });
}

void Luck::N96Click() {
  guarded([this] {
    if (data_.settings.peopleRolling) return;
    if (!view_.lockCheck()) {
      view_.showMessage(gbk("抱歉,密码不正确,不能修改"));
      return;
    }
    changeMode(data_.settings.textDraw, true, gbk("滚动模式已修改,将重新开始抽奖"));
  });
}

void Luck::N97Click() {
  guarded([this] {
    if (!data_.settings.peopleRolling) return;
    if (!view_.lockCheck()) {
      view_.showMessage(gbk("抱歉,密码不正确,不能修改"));
      return;
    }
    changeMode(data_.settings.textDraw, false, gbk("滚动模式已修改,将重新开始抽奖"));
  });
}

}  // namespace draw
