#include "draw/headless_startup.h"

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "draw/config_keys.h"
#include "draw/lifecycle.h"
#include "draw/run_record.h"
#include "draw/settings_check.h"

namespace draw {

using base::gbk;

bool headlessStartup(DrawData& data, const EventFolder& folder, HeadlessView& view, Luck& luck) {
  for (int k = 1; k <= 31; ++k) view.setFrameText(k, "");
  auto ask = [&view](const std::string& question) { return view.ask(question, gbk("提示"), QuestionKind::Warning); };
  auto tell = [&view](const std::string& text) { view.showMessage(text); };
  if (!settleSettingsFile(folder.configFiles(), ask, tell)) {
    data.state.drawBlocked = startupFailureMessage("设置文件不是本程序的。");
    return false;
  }
  try {
    // Config.ini that cannot be read (a folder in its place, no permission)
    // already stops the sound settings load: with a message, like the loads after it.
    luck.sounds().load(folder);
    luck.playBackgroundMusic();
  } catch (const base::FileError& error) {
    view.showMessage(base::utf8ToGbk(error.what()));
  }
  LifecycleOutcome outcome;
  bool loaded = true;
  try {
    outcome = startupLoad(data, folder);
  } catch (const base::FileError&) {
    loaded = false;
  } catch (const base::ConversionError&) {
    loaded = false;
  }
  if (!loaded) {
    // The block holds the failure's words and what to do.
    view.showMessage(data.state.drawBlocked);
    view.setFieldText(Field::ActionHint, blockedHint());
    return false;
  }
  if (outcome.message) view.showMessage(*outcome.message);
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
  outcome = startupResume(data, folder, firstRun, ask);
  if (outcome.message) view.showMessage(*outcome.message);
  if (outcome.hint) view.setFieldText(Field::ActionHint, *outcome.hint);
  luck.showInterruptedBatch(outcome.interruptedBatch);
  luck.buildSingleAwardMenu();
  return data.state.drawBlocked.empty();
}

void saveDrawStateKeys(const EventFolder& folder, const DrawSettings& settings) {
  base::IniFile config = folder.configFiles().openConfig();
  storeDrawState(config, {settings.textDraw, settings.peopleRolling, settings.predeterminedOn, settings.blacklistOn});
}

}  // namespace draw
