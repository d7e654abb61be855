#pragma once
// The ranking display ("节目评分展示"): one bar per programme whose height
// stands for its average, the average above it, number and name below it and
// the rank on the three highest. Opening, the bars grow one pixel per 10 ms
// tick one after the other while their scores count up; then the scoring file
// is read again every second. Settings are written back when it closes.
#include <QTimer>
#include <array>
#include <memory>

#include "scoring/core/photo_layout.h"
#include "scoring/core/scoring_refresh.h"
#include "scoring/display_support.h"
#include "screen/display_stage.h"
#include "screen/state/ranking_display_settings.h"

namespace Ui {
class TPorShow;
}
class QLabel;
class QMenu;
class QFrame;

namespace scoring {

class TPorShow : public screen::DisplayStage {
  Q_OBJECT

 public:
  static constexpr int kBars = 30;

  explicit TPorShow(DisplayContext context, QWidget* parent = nullptr);
  ~TPorShow() override;

  // Components by their names (k = 1 … 30).
  QFrame* bar(int k) const { return SP_[static_cast<std::size_t>(k - 1)]; }
  QLabel* rankLabel(int k) const { return SM_[static_cast<std::size_t>(k - 1)]; }
  QLabel* scoreLabel(int k) const { return ST_[static_cast<std::size_t>(k - 1)]; }
  QLabel* nameLabel(int k) const { return SB_[static_cast<std::size_t>(k - 1)]; }
  QTimer& animationTimer() { return Timer2; }
  QTimer& refreshTimer() { return Timer1; }
  QMenu* windowMenu() const { return windowMenu_; }
  QMenu* barMenu() const { return barMenu_; }
  QMenu* subtitleMenu() const { return subtitleMenu_; }
  QWidget* subtitle() const;
  int barHeightFor(int k) const { return barHeights_[static_cast<std::size_t>(k - 1)]; }
  // Target height of bar k for its average (0 without one).
  int targetHeight(int k) const;
  int barHeightSetting() const { return settings_.barHeight; }
  int barWidthSetting() const { return settings_.barWidth; }
  int gapSetting() const { return settings_.gap; }
  // What this showing uses where the stored values do not fit the screen: the
  // bar width and gap, and the full-score bar height (so the tallest bar stays
  // under the titles). The stored values stay as they are.
  int shownBarWidth() const { return spacing_.width; }
  int shownGap() const { return spacing_.gap; }
  int shownBarHeight() const { return shownBarHeight_; }
  const ReadingErrors& readingErrors() const { return errors_; }

  // The timers' work, reachable for tests.
  void Timer2Timer();
  void Timer1Timer();

 protected:
  void saveSettings() override;

 private:
  void FormCreate();
  void createBars();
  void createMenus();
  void readSettings();
  // Reads lists and scores; false when the reading stopped (the display keeps what it shows).
  bool loadAndCompute();
  void putScores();
  void setBarsToTargets();
  void layoutBars();
  void showRanks();
  void fitBarHeight();
  void fitLabelFonts();
  void setBarHeight(int k, int height);
  void placeScoreLabel(int k);
  void paintBars();
  void chooseLabelFont(std::array<QLabel*, kBars>& labels, styledtext::FontRecord& font);
  void applyLabelFont(std::array<QLabel*, kBars>& labels, const styledtext::FontRecord& font);
  bool animating() const { return settings_.animate && Timer2.isActive(); }

  std::unique_ptr<Ui::TPorShow> ui;
  DisplayContext context_;
  QTimer Timer1;
  QTimer Timer2;
  std::array<QFrame*, kBars> SP_{};
  std::array<QLabel*, kBars> SM_{};
  std::array<QLabel*, kBars> ST_{};
  std::array<QLabel*, kBars> SB_{};
  std::array<int, kBars> barHeights_{};
  QMenu* windowMenu_ = nullptr;
  QMenu* barMenu_ = nullptr;
  QMenu* scoreMenu_ = nullptr;
  QMenu* nameMenu_ = nullptr;
  QMenu* subtitleMenu_ = nullptr;
  QAction* animateItem_ = nullptr;

  // Held while open and written back on closing (the subtitle's look and place
  // are taken from the label then).
  screen::RankingDisplaySettings settings_;
  double fullScore_ = 10;
  BarSpacing spacing_;
  int shownBarHeight_ = 0;

  ScoringInputs inputs_;
  std::vector<std::string> averages_;
  std::vector<std::string> ranks_;
  ReadingErrors errors_;
};

}  // namespace scoring
