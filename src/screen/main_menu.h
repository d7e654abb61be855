#pragma once
// The popup menu of the empty draw screen (component rightMouseMenu): every item
// with its component name as objectName (N17, N89, …), its exact caption, its tick
// and its separators. The owner connects the actions it handles through action();
// the menu itself only keeps its ticks and the single-award submenu in step.
#include <QObject>
#include <QString>
#include <vector>

#include "screen/state/screen_model.h"

class QAction;
class QMenu;
class QWidget;

namespace screen {

// Adds an item with its component name as objectName, by which the owner and the
// tests find it.
QAction* addNamedItem(QMenu* menu, const char* name, const QString& caption, bool checkable = false);

// Menu item names of the ten show ticks, in the order of ShowTick.
inline constexpr const char* kShowTickItems[kShowTickCount] = {"N32", "N33", "N35", "N67", "N68",
                                                               "N69", "N70", "N72", "N73", "N74"};

class MainMenu : public QObject {
  Q_OBJECT

 public:
  explicit MainMenu(QWidget* parent);
  ~MainMenu() override;

  QMenu* menu() const { return menu_; }
  // The item of that component name (a submenu is found by its own name too);
  // null when the menu has no such item.
  QAction* action(const QString& objectName) const;
  QMenu* submenu(const QString& objectName) const;

  struct SingleAwardItem {
    QString caption;
    bool enabled = true;
  };
  // Refills N89 with one item per award row in table order.
  void setSingleAwardItems(const std::vector<SingleAwardItem>& items);

  // N89's caption and the ticks of N96/N97.
  void setPeopleRolling(bool peopleRolling);
  // The ticks of N9/N10.
  void setTextDraw(bool textDraw);
  // Every tick from the model: the draw and rolling modes, the position lock, the show ticks.
  void syncTicks(const ScreenModel& model);

 signals:
  // The menu is about to open: a pending automatic winners display must not follow.
  void opening();
  // An item of N89 was chosen; awardSerial counts award rows from 1.
  void singleAwardChosen(int awardSerial);

 private:
  QMenu* menu_;
  QMenu* singleAward_ = nullptr;
};

}  // namespace screen
