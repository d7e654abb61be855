#pragma once
// Connects the menus to the commands that need nothing of the draw engine, so the
// window adds only its own part:
//   - right click on the background: menu.menu()->popup(globalPos);
//   - each element: elementMenus.attach(Element::X, widget, lock query, AppearanceCommands::elementMoved);
//   - MainMenu::opening and ElementMenus::opening stop Timer2;
//   - N17: ToolCommands::confirmRestart, then the engine's restart; N20:
//     ToolCommands::exportWinners with the engine's export; N89, N9/N10, N96/N97
//     (each behind passLock) and N16 to the engine and the auto layout;
//   - AppearanceCommands::editEffects (the font-and-effect dialog) and exitSave;
//   - modelChanged() to render; minimiseRequested() and exitRequested().
#include "screen/appearance_commands.h"
#include "screen/element_menus.h"
#include "screen/main_menu.h"
#include "screen/tool_commands.h"

namespace screen {

void connectCommands(MainMenu& menu, ElementMenus& elementMenus, AppearanceCommands& appearance, ToolCommands& tools,
                     const ScreenModel& model);

}  // namespace screen
