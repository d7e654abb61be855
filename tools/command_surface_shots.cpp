// Shows one part of the command surface on a real display for a screenshot:
//   command_surface_shots SCENE
// SCENE: menu (main menu with 画面设定 and 版面风格 open), tools, help-menu, modes,
// single (single-award submenu), title (main title menu), prize (prize picture
// menu), logo, help (shortcut help window), export (the winners' save dialog),
// background (the picture dialog). Quits by itself after four seconds.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "platform/font_substitutions.h"
#include "screen/THelpForm.h"
#include "screen/dialog_service.h"
#include "screen/element_menus.h"
#include "screen/main_menu.h"
#include "screen/picture_files.h"
#include "screen/tool_commands.h"

namespace {

// Opens a chain of submenus one after the other, as a pointer resting on them would.
void openChain(screen::MainMenu& menu, QMenu* from, const QStringList& chain, int delay) {
  if (chain.isEmpty()) return;
  QTimer::singleShot(delay, from, [&menu, from, chain, delay] {
    QAction* item = menu.action(chain.first());
    from->setActiveAction(item);
    openChain(menu, item->menu(), chain.mid(1), delay);
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  const QString scene = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("menu");

  QWidget screen;
  screen.setGeometry(0, 0, 1280, 800);
  // The backdrop is a child of its own, so its colours do not reach the menus.
  QLabel backdrop(&screen);
  backdrop.setGeometry(0, 0, 1280, 800);
  backdrop.setStyleSheet(QStringLiteral("background: #20304a;"));
  QLabel title(QStringLiteral("xx公司春节联欢会"), &screen);
  title.setStyleSheet(QStringLiteral("color: yellow; font-size: 32px;"));
  title.move(400, 60);
  screen.show();

  screen::MainMenu menu(&screen);
  screen::ScreenModel model;
  model.showTicks.fill(true);
  menu.syncTicks(model);
  menu.setSingleAwardItems({{QStringLiteral("特等奖  (1/1)"), false},
                            {QStringLiteral("一等奖  (1/3)"), true},
                            {QStringLiteral("二等奖  (0/5)"), true},
                            {QStringLiteral("三等奖  (0/10)"), true}});
  screen::ElementMenus elements(&screen);
  THelpForm help(&screen);

  const QPoint at(40, 40);
  if (scene == "menu" || scene == "tools" || scene == "help-menu" || scene == "modes" || scene == "single") {
    menu.menu()->popup(at);
    const QStringList chain = scene == "menu"        ? QStringList{"N2", "N78"}
                              : scene == "tools"     ? QStringList{"N3"}
                              : scene == "help-menu" ? QStringList{"N4"}
                              : scene == "modes"     ? QStringList{"N95"}
                                                     : QStringList{"N89"};
    openChain(menu, menu.menu(), chain, 400);
  } else if (scene == "title") {
    elements.menu(screen::Element::MainTitle)->popup(title.mapToGlobal(QPoint(20, 20)));
  } else if (scene == "prize") {
    elements.menu(screen::Element::PrizePicture)->popup(at);
  } else if (scene == "logo") {
    elements.menu(screen::Element::Logo)->popup(at);
  } else if (scene == "help") {
    help.show();
  } else if (scene == "export") {
    QTimer::singleShot(0, &screen, [&screen] {
      screen::DialogService dialogs(&screen);
      dialogs.saveFileName(QString(), QDir::tempPath(), screen::kExportFilter, QStringLiteral("txt"));
    });
  } else if (scene == "background") {
    QTimer::singleShot(0, &screen, [&screen] {
      screen::DialogService dialogs(&screen);
      dialogs.openFileName(QString(), QDir::tempPath(), screen::pictureFilter());
    });
  } else {
    std::fprintf(stderr, "unknown scene\n");
    return 2;
  }
  QTimer::singleShot(4000, &app, &QApplication::quit);
  return app.exec();
}
