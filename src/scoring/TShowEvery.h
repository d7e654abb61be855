#pragma once
// The score details display ("节目评分明细"): the current programme of the
// scoring file with every judge's photo and score, and the result line with the
// dropped scores and the average. Read every second; a judge's changed score
// flashes purple and white while the change sound plays.
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QTimer>
#include <array>
#include <memory>
#include <set>

#include "scoring/core/photo_layout.h"
#include "scoring/core/scoring_refresh.h"
#include "scoring/display_support.h"
#include "screen/display_stage.h"
#include "screen/state/details_display_settings.h"

namespace Ui {
class TShowEvery;
}
class QLabel;
class QMenu;

namespace styledtext {
class TSmoothLabel;
}

namespace scoring {

class TShowEvery : public screen::DisplayStage {
  Q_OBJECT

 public:
  static constexpr int kJudges = 20;

  explicit TShowEvery(DisplayContext context, QWidget* parent = nullptr);
  ~TShowEvery() override;

  QLabel* photo(int k) const { return MP_[static_cast<std::size_t>(k - 1)]; }
  QLabel* scoreLabel(int k) const { return MT_[static_cast<std::size_t>(k - 1)]; }
  QTimer& flashTimer(int k) { return *TM_[static_cast<std::size_t>(k - 1)]; }
  QTimer& refreshTimer() { return Timer1; }
  styledtext::TSmoothLabel* resultLabel() const;
  styledtext::TSmoothLabel* programmeLabel() const;
  styledtext::TSmoothLabel* subtitleLabel() const;
  QMenu* windowMenu() const { return windowMenu_; }
  QMenu* photoMenu() const { return photoMenu_; }
  // The judge table: name, score text, mark.
  const std::vector<JudgeLine>& judgeTable() const { return judgeTable_; }
  const QPixmap& tile(int k) const { return tiles_[static_cast<std::size_t>(k - 1)]; }
  int perRow() const { return settings_.perRow; }
  QSize photoSize() const { return {settings_.photoWidth, settings_.photoHeight}; }
  const ReadingErrors& readingErrors() const { return errors_; }

  void Timer1Timer();
  void TMTimer(int k);

 protected:
  void saveSettings() override;

 private:
  void FormCreate();
  void createJudgeWidgets();
  void createMenus();
  void addCaptionMenu(styledtext::TSmoothLabel* label, bool withText);
  void readSettings();
  bool readCurrent(ScoringReading& reading);
  void buildTiles();
  void layoutPhotos();
  // The rows between the captions above the photos and those below them.
  scoring::Band photoBand() const;
  void rebuild();
  void setScoreColours();
  // The score labels in the score font, made smaller where a label's box is
  // too small for its text, all alike; the chosen font stays for larger boxes.
  void fitScoreFont();
  void defaultLayout();
  void centre(styledtext::TSmoothLabel* label);

  std::unique_ptr<Ui::TShowEvery> ui;
  DisplayContext context_;
  QTimer Timer1;
  std::array<QLabel*, kJudges> MP_{};
  std::array<QLabel*, kJudges> MT_{};
  std::array<QTimer*, kJudges> TM_{};
  std::array<int, kJudges> flashCounters_{};
  std::array<bool, kJudges> flashPurple_{};
  std::vector<QPixmap> tiles_;
  QFont scoreFont_;  // as chosen; the labels may show it smaller (fitScoreFont)
  QSize tileSize_;   // the size the tiles were built at: the stored one or, to fit, smaller
  QMenu* windowMenu_ = nullptr;
  QMenu* photoMenu_ = nullptr;
  QAction* showNamesItem_ = nullptr;

  // Held while open and written back on closing (the captions' looks and places
  // are taken from the labels then).
  screen::DetailsDisplaySettings settings_;

  ScoringInputs inputs_;
  std::vector<JudgeLine> judgeTable_;
  std::string shownResult_;
  ReadingErrors errors_;
  std::set<std::string> reportedSounds_;
};

}  // namespace scoring
