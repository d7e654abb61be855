#include "draw/headless_startup.h"

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "draw/draw_texts.h"
#include "draw/lifecycle.h"
#include "draw/run_record.h"

namespace draw {

using texts::gbk;


bool headlessStartup(DrawData& data, const EventFolder& folder, HeadlessView& view, Luck& luck) {
  for (int k = 1; k <= 31; ++k) view.setFrameText(k, "");
  try {
    // Config.ini that cannot be read (a folder in its place, no permission)
    // already stops the sound settings load: with a message, like the loads after it.
    luck.sounds().load(folder);
    luck.playBackgroundMusic();
    startupLoad(data, folder);
    // The part of the position load the draw depends on: the first-run flag,
    // cleared at once in whichever file was read.
    base::IniFile positions = folder.configFiles().openWithFallback();
    const bool firstRun = readFirstRunFlag(positions);
    try {
      clearFirstRunFlag(positions);
    } catch (const base::FileError& error) {
      // A full disk at start-up: said once, and the winners still load.
      view.showMessage(base::utf8ToGbk(error.what()));
    }
    view.setFieldText(Field::ActionHint, gbk("按空格开始抽奖"));
    LifecycleOutcome outcome = startupResume(data, folder, firstRun);
    if (outcome.message) view.showMessage(*outcome.message);
    if (outcome.hint) view.setFieldText(Field::ActionHint, *outcome.hint);
  } catch (const base::FileError& error) {
    view.showMessage(base::utf8ToGbk(error.what()));
    return false;
  } catch (const base::ConversionError& error) {
    view.showMessage(base::utf8ToGbk(error.what()));
    return false;
  }
  luck.buildSingleAwardMenu();
  return true;
}

void saveDrawStateKeys(const EventFolder& folder, const DrawSettings& settings) {
  base::IniFile config = folder.configFiles().openConfig();
  base::IniBatch batch(config);
  config.writeBool(texts::sectionWindowStyle(), gbk("抽奖模式"), settings.textDraw);
  config.writeBool(texts::sectionWindowStyle(), gbk("滚动模式"), settings.peopleRolling);
  config.writeBool(texts::sectionPredetermined(), "Open", settings.predeterminedOn);
  config.writeBool(texts::sectionBlacklist(), "Open", settings.blacklistOn);
}

}  // namespace draw
