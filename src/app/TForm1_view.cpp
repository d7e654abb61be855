// The draw engine's view: how the draw screen shows what the engine decides.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "app/TForm1.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "console/TConsole.h"
#include "draw/rolling_feed.h"
#include "platform/password_store.h"
#include "platform/qt_gbk.h"
#include "screen/lock_check.h"
#include "screen/main_menu.h"
#include "screen/state/frame_fit.h"
#include "screen/state/rolling_layout.h"
#include "styledtext/TSmoothLabel.h"

using platform::fromGbk;
using screen::Label;
using screen::ShowTick;

namespace {
Label labelOfField(draw::Field field) {
  switch (field) {
    case draw::Field::ActionHint:
      return Label::ActionHint;
    case draw::Field::RateProgress:
      return Label::RateProgress;
    case draw::Field::ItemName:
      return Label::ItemName;
    case draw::Field::PrizeName:
      return Label::PrizeName;
    case draw::Field::HonorGuest:
      return Label::HonorGuest;
    case draw::Field::TimeShow:
      return Label::TimeShow;
  }
  return Label::ActionHint;
}
}  // namespace

styledtext::TSmoothLabel* TForm1::fieldLabel(draw::Field field) const { return label(labelOfField(field)); }

void TForm1::setStartCaption(const std::string& caption) {
  startRun_->setText(fromGbk(caption));
  if (consoleShown()) console()->scheduleRefresh();
}

void TForm1::setFieldText(draw::Field field, const std::string& text) {
  screen::LabelState& state = model_.label(labelOfField(field));
  state.caption = text;
  fieldLabel(field)->setCaption(fromGbk(text));
  placeCaption(labelOfField(field));
}

void TForm1::setFieldVisible(draw::Field field, bool visible) {
  model_.label(labelOfField(field)).visible = visible;
  fieldLabel(field)->setVisible(visible);
}

bool TForm1::isTicked(draw::ShowTick tick) const {
  return model_.tick(tick == draw::ShowTick::ActionHint ? ShowTick::ActionHint : ShowTick::StartButton);
}

void TForm1::hideRollingArea() {
  for (int k = 1; k <= 31; ++k) setFrameVisible(k, false);
  for (int k = 1; k <= 30; ++k) setPictureFrameVisible(k, false);
}

void TForm1::setFrameText(int k, const std::string& text) {
  if (k < 1 || k > 31) return;
  model_.rolling.textCaptions[static_cast<std::size_t>(k - 1)] = text;
  frame(k)->setText(fromGbk(text));
  if (k == draw::kBigFrame)
    fitBigFrame();
  else
    fitFrame(k);
}

void TForm1::fitFrame(int k) {
  screen::RollingFrame* f = frame(k);
  const auto& stored = model_.rolling.textFont;
  QFont font = f->frameFont();
  font.setPointSize(screen::qtFont(stored.name, stored.size).pointSize());
  if (f->frameFont() != font) f->setFrameFont(font, f->frameColour());
  const std::string& caption = model_.rolling.textCaptions[static_cast<std::size_t>(k - 1)];
  const QString text = fromGbk(caption);
  if (f->text() != text) f->setText(text);

  // What stops it: the elements of the screen, and the frames that start right
  // of it on its row (a frame left of it is the one to give way).
  screen::TextFrameFit fit;
  fit.placed = {f->x(), f->y(), f->width(), f->height()};
  fit.desktop = {desktop_.width(), desktop_.height()};
  fit.others = obstacles(f);
  for (int j = 1; j <= draw::kFrameCount; ++j) {
    const screen::RollingFrame* other = frame(j);
    if (j == k || !other->isVisibleTo(this) || other->x() <= f->x()) continue;
    fit.others.push_back({other->x(), other->y(), desktop_.width(), other->height()});
  }
  fit.font = {stored.name, font.pointSize(), font.bold(), font.italic()};
  fit.text = caption;
  const screen::TextFrameShow chosen = screen::fitTextFrame(fit, measurer_);
  if (chosen.size != font.pointSize()) {
    font.setPointSize(chosen.size);
    f->setFrameFont(font, f->frameColour());
  }
  if (chosen.cutWidth == 0) return;
  QString cut = text;
  for (int width = chosen.cutWidth; width > 0; width -= 2) {
    cut = QFontMetrics(font).elidedText(text, Qt::ElideRight, width);
    if (screen::RollingFrame::textSize(font, cut, 0).width() <= chosen.cutWidth) break;
  }
  f->setText(cut);
}

void TForm1::setFrameVisible(int k, bool visible) {
  if (k < 1 || k > 31) return;
  model_.rolling.textVisible[static_cast<std::size_t>(k - 1)] = visible;
  frame(k)->setVisible(visible);
}

void TForm1::setPictureFrameVisible(int k, bool visible) {
  if (k < 1 || k > 30) return;
  model_.rolling.pictureVisible[static_cast<std::size_t>(k - 1)] = visible;
  pictureFrame(k)->setVisible(visible);
}

void TForm1::setPictureFrameTile(int k, int tile) {
  if (k < 1 || k > 30) return;
  if (tile >= 0 && tile < photoTiles_.count())
    pictureFrame(k)->setTile(&photoTiles_.tile(tile), &photoTiles_.caption(tile));
  else
    pictureFrame(k)->setTile(nullptr);
}

void TForm1::layoutLoad(int batchSize) {
  currentBatchSize_ = batchSize;
  screen::loadLayout(configForRead(), batchSize, data_.settings.textDraw, display(), model_.rolling);
  renderFrames();
}

void TForm1::layoutStore(int batchSize) {
  // Called at the end of a stop, after the winners are recorded: a layout that
  // cannot be written is reported, never allowed to cut the stop short.
  runGuarded([&] {
    base::IniFile config = folder_.configFiles().openConfig();
    screen::storeLayout(config, batchSize, data_.settings.textDraw, model_.rolling);
  });
}

void TForm1::loadPhotoTiles() {
  std::vector<screen::PhotoEntry> roster;
  for (std::size_t r = 1; r < data_.AllNameList.rowCount(); ++r)
    roster.push_back(
        {data_.AllNameList.cell(draw::person::kName, r), data_.AllNameList.cell(draw::person::kDisplayName, r)});
  progressBar_->setRange(0, static_cast<int>(roster.size()));
  progressBar_->setValue(0);
  progressBar_->show();
  progressBar_->raise();
  photoTiles_.load(programDir_, roster, [this](int done, int total) {
    progressBar_->setRange(0, total);
    progressBar_->setValue(done);
    progressBar_->repaint();
  });
  progressBar_->hide();
  if (photoTiles_.loaded()) {
    model_.pictureLoadButtonVisible = false;
    Button1->hide();
  }
  for (auto* picture : pictureFrames_) {
    picture->resize(pictureFrameSize());
    picture->setCaptionStyle(photoTiles_.captionFont(), photoTiles_.captionColour());
  }
}

void TForm1::clearPhotoTiles() {
  for (auto* picture : pictureFrames_) picture->setTile(nullptr);
  photoTiles_.clear();
}

void TForm1::loadPrizePictures() {
  std::vector<std::string> cells;
  for (std::size_t r = 1; r <= data_.awardRowCount(); ++r)
    cells.push_back(data_.ItemGrid.cell(draw::item::kPicture, r));
  prizePictures_.load(programDir_, cells, PrizePic->size());
}

void TForm1::showPrizePicture(int index) {
  if (index < 0 || index >= prizePictures_.count()) {
    PrizePic->clear();
    return;
  }
  PrizePic->setPixmap(QPixmap::fromImage(prizePictures_.picture(index)));
}

void TForm1::showAwardPrizePicture(const std::string& pictureCell) {
  QImage picture = screen::PrizePictures::awardPicture(programDir_, pictureCell, PrizePic->size());
  if (picture.isNull())
    PrizePic->clear();
  else
    PrizePic->setPixmap(QPixmap::fromImage(picture));
}

void TForm1::setPictureLoadButtonVisible(bool visible) {
  model_.pictureLoadButtonVisible = visible;
  Button1->setVisible(visible);
}

QTimer& TForm1::drawTimer(draw::DrawTimer which) {
  switch (which) {
    case draw::DrawTimer::Timer1:
      return Timer1;
    case draw::DrawTimer::Timer2:
      return Timer2;
    case draw::DrawTimer::Timer4:
      return Timer4;
    case draw::DrawTimer::PoolAhead:
      break;
  }
  return poolAheadTimer_;
}

void TForm1::startTimer(draw::DrawTimer which, int intervalMs) {
  drawTimer(which).start(intervalMs);
  // The pool written ahead allocates nothing: the allocator has nothing to give back after it.
  if (which != draw::DrawTimer::PoolAhead) memoryReturn_.schedule();
}

void TForm1::stopTimer(draw::DrawTimer which) {
  drawTimer(which).stop();
  if (which != draw::DrawTimer::PoolAhead) memoryReturn_.schedule();
}

void TForm1::showNow() { repaint(); }

void TForm1::showMessage(const std::string& text) { dialogs_.message(fromGbk(text)); }

bool TForm1::ask(const std::string& text, const std::string& caption, draw::QuestionKind kind) {
  return dialogs_.question(fromGbk(text), kind == draw::QuestionKind::Warning, fromGbk(caption));
}

bool TForm1::askDuringDraw(const std::string& text, const std::string& caption) {
  return dialogs_.drawQuestion(fromGbk(text), fromGbk(caption));
}

void TForm1::stopSoundPlayer() { sounds_->stop(); }

void TForm1::playSoundFile(const std::string& path, bool repeat) { sounds_->play(std::filesystem::path(path), repeat); }

bool TForm1::prepareStopSound(const std::string& path) {
  return sounds_->prepareStopSound(std::filesystem::path(path));
}

void TForm1::playStopSound() { sounds_->playStopSound(true); }

void TForm1::setSingleAwardMenu(const std::string&, const std::vector<draw::SingleAwardItem>& items) {
  std::vector<screen::MainMenu::SingleAwardItem> entries;
  entries.reserve(items.size());
  for (const auto& item : items) entries.push_back({fromGbk(item.caption), item.enabled});
  mainMenu_->setSingleAwardItems(entries);
  mainMenu_->setPeopleRolling(data_.settings.peopleRolling);
}

void TForm1::setModeTicks(bool textDraw, bool peopleRolling) {
  model_.textDraw = textDraw;
  model_.peopleRolling = peopleRolling;
  mainMenu_->setTextDraw(textDraw);
  mainMenu_->setPeopleRolling(peopleRolling);
}

bool TForm1::lockCheck() { return screen::lockCheck(platform::PasswordStore(), dialogs_); }
