#include "screen/main_menu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "screen/state/element_commands.h"

namespace screen {

QAction* addNamedItem(QMenu* menu, const char* name, const QString& caption, bool checkable) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QString::fromLatin1(name));
  item->setCheckable(checkable);
  return item;
}

namespace {

void addSeparator(QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(QString::fromLatin1(name)); }

QMenu* addSubmenu(QMenu* menu, const char* name, const QString& caption) {
  QMenu* sub = menu->addMenu(caption);
  sub->setObjectName(QString::fromLatin1(name));
  sub->menuAction()->setObjectName(QString::fromLatin1(name));
  return sub;
}

}  // namespace

MainMenu::MainMenu(QWidget* parent) : QObject(parent), menu_(new QMenu(parent)) {
  menu_->setObjectName(QStringLiteral("rightMouseMenu"));
  connect(menu_, &QMenu::aboutToShow, this, &MainMenu::opening);

  addNamedItem(menu_, "N17", QStringLiteral("重新开始抽奖"));
  addSeparator(menu_, "N90");
  singleAward_ = addSubmenu(menu_, "N89", QStringLiteral("单独抽取"));
  addSeparator(menu_, "N60");

  QMenu* drawMode = addSubmenu(menu_, "N6", QStringLiteral("抽奖模式&"));
  addNamedItem(drawMode, "N9", QStringLiteral("文字抽奖模式&"), true);
  addNamedItem(drawMode, "N10", QStringLiteral("图片抽奖模式&"), true);
  QMenu* rollingMode = addSubmenu(menu_, "N95", QStringLiteral("滚动模式"));
  addNamedItem(rollingMode, "N96", QStringLiteral("人员滚动"), true);
  addNamedItem(rollingMode, "N97", QStringLiteral("奖项滚动"), true);
  addSeparator(menu_, "N94");
  QMenu* setup = addSubmenu(menu_, "N1", QStringLiteral("参数设定&"));
  addNamedItem(setup, "N7", QStringLiteral("抽奖名单&"));
  addNamedItem(setup, "N8", QStringLiteral("奖项设置&"));
  addNamedItem(setup, "N11", QStringLiteral("奖项分组&"));
  addNamedItem(setup, "N92", QStringLiteral("其它设定"));

  QMenu* screenSettings = addSubmenu(menu_, "N2", QStringLiteral("画面设定&"));
  addNamedItem(screenSettings, "N103", QStringLiteral("主标题"));
  addNamedItem(screenSettings, "N104", QStringLiteral("副标题"));
  addSeparator(screenSettings, "N102");
  QMenu* themes = addSubmenu(screenSettings, "N78", QStringLiteral("版面风格"));
  for (const Theme& theme : kThemes) addNamedItem(themes, theme.item, QString::fromUtf8(theme.caption));
  addNamedItem(screenSettings, "N13", QStringLiteral("更换背景&"));
  addNamedItem(screenSettings, "N15", QStringLiteral("位置锁定&"), true);
  addNamedItem(screenSettings, "N16", QStringLiteral("自动布局&"));
  addSeparator(screenSettings, "N27");
  static const char* const kTickCaptions[kShowTickCount] = {"主标题",   "副标题",   "LOGO图片", "奖项名称", "抽奖嘉宾",
                                                            "奖品图片", "奖品名称", "抽奖提示", "抽奖进度", "开始按钮"};
  for (std::size_t i = 0; i < kShowTickCount; ++i)
    addNamedItem(screenSettings, kShowTickItems[i], QString::fromUtf8(kTickCaptions[i]), true);
  addSeparator(screenSettings, "N75");
  addNamedItem(screenSettings, "N76", QStringLiteral("更多背景"));

  QMenu* tools = addSubmenu(menu_, "N3", QStringLiteral("工具操作&"));
  addNamedItem(tools, "N18", QStringLiteral("弃奖&"));
  addNamedItem(tools, "N58", QStringLiteral("补奖&"));
  addNamedItem(tools, "N20", QStringLiteral("导出中奖名单&"));
  addNamedItem(tools, "N21", QStringLiteral("查看抽奖日志&"));
  addNamedItem(menu_, "N12", QStringLiteral("音效设置&"));
  addSeparator(menu_, "N41");
  addNamedItem(menu_, "N106", QStringLiteral("设定密码"));
  addSeparator(menu_, "N105");
  addNamedItem(menu_, "F31", QStringLiteral("奖品展示[F3]"));
  addNamedItem(menu_, "N19", QStringLiteral("本奖项中奖结果展示[F9]"));
  addNamedItem(menu_, "F101", QStringLiteral("全部中奖结果展示[F10]"));
  addSeparator(menu_, "N25");
  addNamedItem(menu_, "N36", QStringLiteral("节目及评委设置"));
  addNamedItem(menu_, "N65", QStringLiteral("节目排名展示[F8]"));
  addNamedItem(menu_, "N14", QStringLiteral("节目打分细节[F7]"));
  addNamedItem(menu_, "N110", QStringLiteral("手机评分"));
  addSeparator(menu_, "N64");
  addNamedItem(menu_, "N108", QStringLiteral("配置文件导出"));
  addNamedItem(menu_, "N109", QStringLiteral("配置文件导入"));
  addSeparator(menu_, "N107");

  QMenu* help = addSubmenu(menu_, "N4", QStringLiteral("帮助&"));
  addNamedItem(help, "N22", QStringLiteral("常用快捷键"));
  addNamedItem(help, "N53", QStringLiteral("视频操作说明"));
  addNamedItem(help, "N77", QStringLiteral("常见问题"));
  addNamedItem(help, "V481", QStringLiteral("版本号V6.0"))->setEnabled(false);
  addNamedItem(menu_, "N93", QStringLiteral("最小化窗口[F4]"));
  addNamedItem(menu_, "N5", QStringLiteral("退出&"));
}

// The menu is a child of the window (popups need a widget parent) but lives no longer than this object.
MainMenu::~MainMenu() { delete menu_; }

QAction* MainMenu::action(const QString& objectName) const {
  return menu_->findChild<QAction*>(objectName, Qt::FindChildrenRecursively);
}

QMenu* MainMenu::submenu(const QString& objectName) const {
  if (QAction* item = action(objectName)) return item->menu();
  return nullptr;
}

void MainMenu::setSingleAwardItems(const std::vector<SingleAwardItem>& items) {
  singleAward_->clear();
  for (std::size_t i = 0; i < items.size(); ++i) {
    QAction* item = singleAward_->addAction(items[i].caption);
    item->setEnabled(items[i].enabled);
    const int serial = static_cast<int>(i) + 1;
    connect(item, &QAction::triggered, this, [this, serial] { emit singleAwardChosen(serial); });
  }
}

void MainMenu::setPeopleRolling(bool peopleRolling) {
  singleAward_->setTitle(peopleRolling ? QStringLiteral("单独抽取") : QStringLiteral("抽取状况"));
  action(QStringLiteral("N96"))->setChecked(peopleRolling);
  action(QStringLiteral("N97"))->setChecked(!peopleRolling);
}

void MainMenu::setTextDraw(bool textDraw) {
  action(QStringLiteral("N9"))->setChecked(textDraw);
  action(QStringLiteral("N10"))->setChecked(!textDraw);
}

void MainMenu::syncTicks(const ScreenModel& model) {
  setTextDraw(model.textDraw);
  setPeopleRolling(model.peopleRolling);
  action(QStringLiteral("N15"))->setChecked(model.positionLock);
  for (std::size_t i = 0; i < kShowTickCount; ++i) {
    action(QString::fromLatin1(kShowTickItems[i]))->setChecked(model.showTicks[i]);
  }
}

}  // namespace screen
