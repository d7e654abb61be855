#pragma once
// The winners display (caption "中奖名单展示"): the winners of one award or of
// all awards in a smooth scrolling text under the main screen's two titles and
// logo, on a background picture. Everything about its look is changed from its
// popup menus and stored in Config.ini when it closes.
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "screen/display_stage.h"
#include "styledtext/core/font_record.h"

class QAction;
class QMenu;

namespace Ui {
class TShowPanel;
}
namespace draw {
class DrawData;
}
namespace styledtext {
class TSmoothLabel;
class TSmoothScrollText;
}  // namespace styledtext

namespace displays {

// What the main window hands the display; read at each composition, never changed.
struct WinnersDisplayContext : screen::StageContext {
  const draw::DrawData* data = nullptr;
  std::string shownAward;  // award serial (GBK), "0" or empty for all awards
  // The award order switch ("切换奖项顺序"): a choice for this run that no file
  // keeps, so the opener holds it and every opening in the run shares it; none
  // gives the display a switch of its own, first to last.
  bool* lastToFirst = nullptr;
  QString mainTitle;
  QString secTitle;
  // Plays the sound of "中奖结果展示" through the main window's sound player.
  std::function<void()> playOpeningSound;
};

class TShowPanel : public screen::DisplayStage {
  Q_OBJECT

 public:
  explicit TShowPanel(WinnersDisplayContext context, QWidget* parent = nullptr);
  ~TShowPanel() override;

  styledtext::TSmoothLabel* mainTitle() const;
  styledtext::TSmoothLabel* secTitle() const;
  QWidget* logo() const;
  styledtext::TSmoothScrollText* nameText() const;
  int perRow() const { return perRow_; }
  // The composed display text (GBK, each line ended by a line feed).
  const std::string& displayText() const { return text_; }
  // The lines as drawn: the composed rows, or where a row would be wider than
  // the screen, the same winners wrapped at name boundaries (GBK).
  const std::vector<std::string>& drawnLines() const;
  // The text font as stored; the drawn one may be smaller (see compose) and is
  // the fixed-pitch face where the stored one is 黑体 or 宋体.
  const styledtext::FontRecord& storedTextFont() const { return storedTextFont_; }
  // Menu items by caption: background, title (main or sub), text, logo.
  QAction* backgroundItem(const QString& caption) const;
  QAction* titleItem(const QString& caption) const;
  QAction* textItem(const QString& caption) const;
  QAction* logoItem(const QString& caption) const;

  // Empties the text and composes it again with the per-row count, sizing the
  // box. A composed row wider than the screen is drawn smaller, down to a
  // readable size, and then wrapped at name boundaries (the same composition
  // with fewer names a line), so every winner is on the screen; the stored font
  // and per-row count stay.
  void compose();
  void defaultLayout();

 protected:
  void saveSettings() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void loadSettings();
  void buildMenus();
  void setPerRow(int perRow);
  void chooseTextFont();
  void editTextEffects();
  void chooseTextBackColour();
  void changeLogo();
  void setLogoPicture(const QImage& picture);
  void centreText();
  bool textMouse(QEvent* event);
  bool& lastToFirst() { return context_.lastToFirst ? *context_.lastToFirst : ownLastToFirst_; }

  std::unique_ptr<Ui::TShowPanel> ui;
  WinnersDisplayContext context_;
  int perRow_ = 0;
  std::string text_;
  bool ownLastToFirst_ = false;
  // The logo's name as the settings file keeps it ("ShowTitlePic"/"TitlePicture"),
  // replaced by "更换图片"; stored back when the display closes.
  std::string logoName_;
  styledtext::FontRecord storedTextFont_;
  QMenu* backgroundMenu_ = nullptr;
  QMenu* titleMenu_ = nullptr;
  QMenu* textMenu_ = nullptr;
  QMenu* logoMenu_ = nullptr;
  styledtext::TSmoothLabel* menuTitle_ = nullptr;  // the title whose menu is open
  QAction* mainTitleTick_ = nullptr;
  QAction* secTitleTick_ = nullptr;
  QAction* logoTick_ = nullptr;

  // Moving and resizing the text box.
  bool textDragging_ = false;
  bool resizeArmed_ = false;
  int dragOffsetY_ = 0;
  int pressY_ = 0;
};

}  // namespace displays
