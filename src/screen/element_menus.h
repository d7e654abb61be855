#pragma once
// The small popup menus of the screen elements (right click on a title, the hint,
// the award and prize names, the guest, the progress line, the clock, the logo or
// the prize picture), and the dragging of those elements. attach() gives an
// element widget its menu and makes it draggable, so the window wires each element
// with one line.
#include <QObject>
#include <QPoint>
#include <array>
#include <functional>

#include "screen/state/element_commands.h"

class QAction;
class QMenu;
class QWidget;

namespace screen {

enum class Element {
  MainTitle,
  SecTitle,
  ActionHint,
  PrizeName,
  ItemName,
  HonorGuest,
  RateProgress,
  TimeShow,
  Logo,
  PrizePicture
};
inline constexpr std::size_t kElementCount = 10;

// The hint shown when the pointer rests on the element (UTF-8); empty for none.
const char* hoverHint(Element element);

// The styled label behind an element; Logo and PrizePicture have none.
std::optional<Label> labelOf(Element element);

// The commands of the element menus, one signal each; the item objectNames are
// "setContent", "font", "effects", "centre", "changePicture", "heightUp",
// "heightDown", "widthUp", "widthDown".
class ElementMenus : public QObject {
  Q_OBJECT

 public:
  explicit ElementMenus(QWidget* parent);
  ~ElementMenus() override;

  QMenu* menu(Element element) const { return menus_[static_cast<std::size_t>(element)]; }
  // The widget attached for the element; null before attach().
  QWidget* widget(Element element) const { return widgets_[static_cast<std::size_t>(element)]; }

  // Gives `widget` the element's menu on right click, its hover hint, and makes it draggable.
  // `isLocked` is asked on every move (the position lock); `moved` receives the
  // element's new top-left corner in its parent's coordinates after each step.
  void attach(Element element, QWidget* widget, std::function<bool()> isLocked,
              std::function<void(Element, QPoint)> moved);

 signals:
  // A menu that stops the automatic winners display is about to open (those of
  // the titles, hint, prize name, award name, guest and progress line).
  void opening();
  void setContentRequested(Label title);
  void fontRequested(Label label);
  void effectsRequested(Label label);
  void centreRequested(Element element);
  void changeLogoRequested();
  void resizePrizeRequested(PrizeResize step);

 private:
  std::array<QMenu*, kElementCount> menus_{};
  std::array<QWidget*, kElementCount> widgets_{};
};

// Drags a widget with any mouse button: the pointer keeps the offset it had to
// the widget's corner when the button went down. While `isLocked` answers true
// the widget stays where it is. Positions are in the parent's coordinates.
class ElementDragFilter : public QObject {
  Q_OBJECT

 public:
  ElementDragFilter(QWidget* widget, std::function<bool()> isLocked, std::function<void(QPoint)> moved);
  // Called when a drag ends with the button's release, locked or not (the rolling
  // area stores its layout then).
  void setOnRelease(std::function<void()> released) { released_ = std::move(released); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* widget_;
  std::function<bool()> isLocked_;
  std::function<void(QPoint)> moved_;
  std::function<void()> released_;
  bool dragging_ = false;
  QPoint offset_;
};

}  // namespace screen
