#include "draw/headless_startup.h"

#include "draw/config_keys.h"

namespace draw {

void saveDrawStateKeys(const EventFolder& folder, const DrawSettings& settings) {
  base::IniFile config = folder.configFiles().openConfig();
  storeDrawState(config, {settings.textDraw, settings.peopleRolling, settings.predeterminedOn, settings.blacklistOn});
}

}  // namespace draw
