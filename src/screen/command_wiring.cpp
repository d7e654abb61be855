#include "screen/command_wiring.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace screen {

void connectCommands(MainMenu& menu, ElementMenus& elementMenus, AppearanceCommands& appearance, ToolCommands& tools,
                     const ScreenModel& model) {
  auto on = [&menu](const char* item, auto&& command) {
    QObject::connect(menu.action(QString::fromLatin1(item)), &QAction::triggered, menu.menu(), command);
  };
  on("N103", [&appearance] { appearance.editTitle(Label::MainTitle); });
  on("N104", [&appearance] { appearance.editTitle(Label::SecTitle); });
  on("N13", [&appearance] { appearance.changeBackground(); });
  on("N15", [&appearance] { appearance.togglePositionLock(); });
  on("N76", [&tools] { tools.openWebPage(WebPage::Home); });
  on("N21", [&tools] { tools.viewLog(); });
  on("N22", [&tools] { tools.showShortcutHelp(); });
  on("N53", [&tools] { tools.openWebPage(WebPage::VideoGuide); });
  on("N77", [&tools] { tools.openWebPage(WebPage::CommonQuestions); });
  on("N93", [&tools] { emit tools.minimiseRequested(); });
  on("N5", [&tools] { emit tools.exitRequested(); });
  QObject::connect(&menu, &MainMenu::themeChosen, &appearance, &AppearanceCommands::applyTheme);
  QObject::connect(&menu, &MainMenu::showTickToggled, &appearance, &AppearanceCommands::toggleShowTick);
  // Qt flips a checkable item's tick on a click; the model decides what it shows.
  QObject::connect(&appearance, &AppearanceCommands::modelChanged, &menu, [&menu, &model] { menu.syncTicks(model); });

  QObject::connect(&elementMenus, &ElementMenus::setContentRequested, &appearance, &AppearanceCommands::editTitle);
  QObject::connect(&elementMenus, &ElementMenus::fontRequested, &appearance, &AppearanceCommands::chooseFont);
  QObject::connect(&elementMenus, &ElementMenus::effectsRequested, &appearance, &AppearanceCommands::editLabelEffects);
  QObject::connect(&elementMenus, &ElementMenus::changeLogoRequested, &appearance, &AppearanceCommands::changeLogo);
  QObject::connect(&elementMenus, &ElementMenus::resizePrizeRequested, &appearance, &AppearanceCommands::resizePrize);
  QObject::connect(&elementMenus, &ElementMenus::centreRequested, &appearance,
                   [&elementMenus, &appearance](Element element) {
                     QWidget* widget = elementMenus.widget(element);
                     if (widget != nullptr) appearance.centre(element, widget->width());
                   });
}

}  // namespace screen
