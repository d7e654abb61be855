#include "screen/element_menus.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include "screen/main_menu.h"

namespace screen {

namespace {

enum Item : unsigned { SetContent = 1, Font = 2, Effects = 4, Centre = 8, ChangePicture = 16, Resize = 32 };

struct MenuShape {
  unsigned items;
  bool stopsWinnersDisplay;
};

constexpr std::array<MenuShape, kElementCount> kShapes = {{
    {SetContent | Font | Effects | Centre, true},  // MainTitle
    {SetContent | Font | Effects | Centre, true},  // SecTitle
    {Font | Effects | Centre, true},               // ActionHint
    {Font | Effects, true},                        // PrizeName
    {Font | Effects | Centre, true},               // ItemName
    {Font | Effects, true},                        // HonorGuest
    {Font | Effects | Centre, true},               // RateProgress
    {Font | Effects, false},                       // TimeShow
    {ChangePicture | Centre, false},               // Logo
    {Resize, false},                               // PrizePicture
}};

}  // namespace

const char* hoverHint(Element element) {
  switch (element) {
    case Element::Logo:
      return "右键更改图标";
    case Element::MainTitle:
      return "右键可更改标题内容和属性";
    case Element::SecTitle:
      return "右键设置内容和属性";
    case Element::PrizeName:
      return "奖品名称请到奖项设置中修改";
    case Element::HonorGuest:
      return "抽奖嘉宾请到奖项设置中修改";
    case Element::TimeShow:
      return "右键可更改字体格式";
    default:
      return "";
  }
}

std::optional<Label> labelOf(Element element) {
  switch (element) {
    case Element::MainTitle:
      return Label::MainTitle;
    case Element::SecTitle:
      return Label::SecTitle;
    case Element::ActionHint:
      return Label::ActionHint;
    case Element::PrizeName:
      return Label::PrizeName;
    case Element::ItemName:
      return Label::ItemName;
    case Element::HonorGuest:
      return Label::HonorGuest;
    case Element::RateProgress:
      return Label::RateProgress;
    case Element::TimeShow:
      return Label::TimeShow;
    case Element::Logo:
    case Element::PrizePicture:
      break;
  }
  return std::nullopt;
}

ElementMenus::ElementMenus(QWidget* parent) : QObject(parent) {
  for (std::size_t i = 0; i < kElementCount; ++i) {
    const Element element = static_cast<Element>(i);
    const MenuShape shape = kShapes[i];
    QMenu* menu = new QMenu(parent);
    menus_[i] = menu;
    if (shape.stopsWinnersDisplay) connect(menu, &QMenu::aboutToShow, this, &ElementMenus::opening);
    const std::optional<Label> label = labelOf(element);
    if (shape.items & SetContent) {
      connect(addNamedItem(menu, "setContent", QStringLiteral("设置内容")), &QAction::triggered, this,
              [this, label] { emit setContentRequested(*label); });
    }
    if (shape.items & Font) {
      connect(addNamedItem(menu, "font", QStringLiteral("字体设置")), &QAction::triggered, this,
              [this, label] { emit fontRequested(*label); });
    }
    if (shape.items & Effects) {
      connect(addNamedItem(menu, "effects", QStringLiteral("字体特效")), &QAction::triggered, this,
              [this, label] { emit effectsRequested(*label); });
    }
    if (shape.items & ChangePicture) {
      connect(addNamedItem(menu, "changePicture", QStringLiteral("更换图片")), &QAction::triggered, this,
              &ElementMenus::changeLogoRequested);
    }
    if (shape.items & Centre) {
      connect(addNamedItem(menu, "centre", QStringLiteral("居中")), &QAction::triggered, this,
              [this, element] { emit centreRequested(element); });
    }
    if (shape.items & Resize) {
      const std::pair<const char*, PrizeResize> steps[] = {{"heightUp", PrizeResize::HeightUp},
                                                           {"heightDown", PrizeResize::HeightDown},
                                                           {"widthUp", PrizeResize::WidthUp},
                                                           {"widthDown", PrizeResize::WidthDown}};
      const QString captions[] = {QStringLiteral("高度+"), QStringLiteral("高度-"), QStringLiteral("宽度+"),
                                  QStringLiteral("宽度-")};
      for (int s = 0; s < 4; ++s) {
        const PrizeResize step = steps[s].second;
        connect(addNamedItem(menu, steps[s].first, captions[s]), &QAction::triggered, this,
                [this, step] { emit resizePrizeRequested(step); });
      }
    }
  }
}

// The menus are children of the window (popups need a widget parent) but live no longer than this object.
ElementMenus::~ElementMenus() {
  for (QMenu* menu : menus_) delete menu;
}

void ElementMenus::attach(Element element, QWidget* widget, std::function<bool()> isLocked,
                          std::function<void(Element, QPoint)> moved) {
  QMenu* elementMenu = menu(element);
  widgets_[static_cast<std::size_t>(element)] = widget;
  widget->setToolTip(QString::fromUtf8(hoverHint(element)));
  widget->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(widget, &QWidget::customContextMenuRequested, elementMenu,
          [widget, elementMenu](const QPoint& at) { elementMenu->popup(widget->mapToGlobal(at)); });
  new ElementDragFilter(widget, std::move(isLocked),
                        [element, moved = std::move(moved)](QPoint to) { moved(element, to); });
}

ElementDragFilter::ElementDragFilter(QWidget* widget, std::function<bool()> isLocked, std::function<void(QPoint)> moved)
    : QObject(widget), widget_(widget), isLocked_(std::move(isLocked)), moved_(std::move(moved)) {
  widget_->installEventFilter(this);
}

bool ElementDragFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != widget_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      dragging_ = true;
      offset_ = mouse->globalPosition().toPoint() - widget_->pos();
      break;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      // A release that went to a popup menu (right click) never reached us.
      if (mouse->buttons() == Qt::NoButton) dragging_ = false;
      if (!dragging_ || isLocked_()) break;
      const QPoint to = mouse->globalPosition().toPoint() - offset_;
      if (to != widget_->pos()) {
        widget_->move(to);
        moved_(to);
      }
      break;
    }
    case QEvent::MouseButtonRelease:
      if (dragging_ && released_) released_();
      dragging_ = false;
      break;
    default:
      break;
  }
  return false;
}

}  // namespace screen
