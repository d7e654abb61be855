#include "draw/headless_startup.h"

#include "base/gbk.h"
#include "draw/draw_texts.h"

namespace draw {

using base::gbk;

void saveDrawStateKeys(const EventFolder& folder, const DrawSettings& settings) {
  base::IniFile config = folder.configFiles().openConfig();
  base::IniBatch batch(config);
  config.writeBool(texts::sectionWindowStyle(), gbk("抽奖模式"), settings.textDraw);
  config.writeBool(texts::sectionWindowStyle(), gbk("滚动模式"), settings.peopleRolling);
  config.writeBool(texts::sectionPredetermined(), "Open", settings.predeterminedOn);
  config.writeBool(texts::sectionBlacklist(), "Open", settings.blacklistOn);
}

}  // namespace draw
