#pragma once
// The ranking display ("节目评分展示"): one bar per programme whose height
// stands for its average, the average above it, number and name below it and
// the rank on the three highest. Opening, the bars grow one pixel per 10 ms
// tick one after the other while their scores count up; then the scoring file
// is read again every second. Settings are written back when it closes.
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "scoring/core/scoring_refresh.h"
#include "scoring/display_support.h"

namespace Ui {
class TPorShow;
}
class QLabel;
class QMenu;
class QFrame;

namespace scoring {

class TPorShow : public QWidget {
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
  int barHeightSetting() const { return H_; }
  int barWidthSetting() const { return W_; }
  int gapSetting() const { return G_; }
  const ReadingErrors& readingErrors() const { return errors_; }

  // Test hook: the colour the next "柱状颜色" takes instead of asking.
  std::function<std::optional<QColor>(const QColor&)> chooseColour;

  // The timers' work, reachable for tests.
  void Timer2Timer();
  void Timer1Timer();
  // The settings written on closing.
  void saveSettings();

 signals:
  // The display has closed (its settings are written); a modal opener stops waiting.
  void closed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

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
  void setBarHeight(int k, int height);
  void placeScoreLabel(int k);
  void changeBackground();
  void chooseLabelFont(std::array<QLabel*, kBars>& labels, styledtext::FontRecord& font);
  void applyLabelFont(std::array<QLabel*, kBars>& labels, const styledtext::FontRecord& font);
  void editSubtitleEffects();
  void scaleBackground();
  bool animating() const { return animate_ && Timer2.isActive(); }

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

  // Settings held while open.
  int H_ = 500;
  int W_ = 80;
  int G_ = 10;
  bool animate_ = true;
  double fullScore_ = 10;
  int barColour_ = 999999;
  styledtext::FontRecord scoreFont_;
  styledtext::FontRecord nameFont_;
  styledtext::FontRecord rankFont_;
  std::string backgroundName_;
  CaptionState subtitle_;
  std::string subtitleText_;

  ScoringInputs inputs_;
  std::vector<std::string> averages_;
  std::vector<std::string> ranks_;
  ReadingErrors errors_;
  QImage background_;
  QPixmap scaledBackground_;
};

}  // namespace scoring
