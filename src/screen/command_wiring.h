#pragma once
// Connects the menus to the commands that need nothing of the draw engine, so the
// window adds only its own part: the engine's commands (N17 restart, N20 export,
// N89, N9/N10, N96/N97, N16 auto layout), stopping Timer2 on opening(), minimising
// and exiting.
#include "screen/appearance_commands.h"
#include "screen/element_menus.h"
#include "screen/main_menu.h"
#include "screen/tool_commands.h"

namespace screen {

void connectCommands(MainMenu& menu, ElementMenus& elementMenus, AppearanceCommands& appearance, ToolCommands& tools,
                     const ScreenModel& model);

}  // namespace screen
