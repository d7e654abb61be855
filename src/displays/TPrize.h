#pragma once
// The prize display (caption "奖项展示"): every few seconds the next award's
// prize picture and a caption of its name, places, prize and draw guest, under
// copies of the main screen's titles and logo. Its own look and speed are stored
// in Config.ini section "ShowPrizeName" when it closes.
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <memory>
#include <string>

#include "draw/prize_show.h"
#include "draw/table.h"
#include "screen/display_stage.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

class QAction;
class QLabel;
class QMenu;

namespace Ui {
class TPrize;
}
namespace styledtext {
class TSmoothLabel;
}

namespace displays {

// A styled caption of the main screen as the prize display copies it.
struct CaptionCopy {
  QString caption;
  styledtext::FontRecord font;
  styledtext::TSmoothEffect effect;
  bool visible = true;
  QPoint position;
};

struct PrizeDisplayContext : screen::StageContext {
  CaptionCopy mainTitle;
  CaptionCopy secTitle;
  QPoint logoPosition;
  bool logoVisible = true;
  int drawOrder = 0;  // "抽奖顺序": 1 walks the awards from the last row up
};

class TPrize : public screen::DisplayStage {
  Q_OBJECT

 public:
  explicit TPrize(PrizeDisplayContext context, QWidget* parent = nullptr);
  ~TPrize() override;

  styledtext::TSmoothLabel* prizeName() const;
  styledtext::TSmoothLabel* mainTitle() const;
  QLabel* picture() const;
  QTimer& timer() { return Timer1; }
  const draw::Table& itemGrid() const { return ItemGrid; }
  int position() const { return position_; }
  // The picture box as stored: sizes below 1 pixel stay as they are and draw nothing.
  const QRect& pictureBox() const { return box_; }
  const draw::CaptionParts& captionParts() const { return parts_; }
  QAction* windowItem(const QString& caption) const;  // searched through the submenus too
  QAction* captionItem(const QString& caption) const;

  // One tick: wrap the position, show the award's picture and caption, advance.
  void Timer1Timer();
  // "默认布局": the picture box, no larger than half the screen, centred under
  // the titles, the caption centred under it.
  void defaultLayout();
  // The caption's place and font as stored; it is shown smaller and moved in
  // where it would leave the screen.
  QPoint captionPlace() const { return captionPlace_; }
  const styledtext::FontRecord& storedCaptionFont() const { return captionFont_; }

 protected:
  void saveSettings() override;

 private:
  void loadSettings();
  void buildMenus();
  void showCaption(int row);
  void fitCaption();
  void setPictureBox(const QRect& box);
  void presetBox(int width, int height);

  std::unique_ptr<Ui::TPrize> ui;
  PrizeDisplayContext context_;
  draw::Table ItemGrid;
  int position_ = 1;
  int shownRow_ = -1;  // the award on the screen, none before the first tick
  QRect box_;
  QPoint captionPlace_;
  styledtext::FontRecord captionFont_;
  draw::CaptionParts parts_;
  QTimer Timer1;
  QMenu* windowMenu_ = nullptr;
  QMenu* captionMenu_ = nullptr;
  QAction* partTicks_[3] = {};
};

}  // namespace displays
