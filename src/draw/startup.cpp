#include "draw/startup.h"

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "draw/lifecycle.h"
#include "draw/run_record.h"
#include "draw/settings_check.h"

namespace draw {

namespace {

using base::gbk;

// Runs one step; a file, number or unstorable-text failure is told and the start-up goes on.
template <typename Step>
void reportFailures(DrawView& view, Step&& step) {
  try {
    step();
  } catch (const base::FileError& error) {
    view.showMessage(base::utf8ToGbk(error.what()));
  } catch (const base::ConversionError& error) {
    view.showMessage(base::utf8ToGbk(error.what()));
  } catch (const base::UnstorableText& error) {
    view.showMessage(base::utf8ToGbk(error.what()));
  }
}

// The draw's part of the position load: the first-run flag, cleared at once in
// whichever file was read, and the hint.
void drawPositionLoad(const EventFolder& folder, DrawView& view, bool& firstRun) {
  base::IniFile positions = folder.configFiles().openWithFallback();
  firstRun = readFirstRunFlag(positions);
  view.setFieldText(Field::ActionHint, gbk("按空格开始抽奖"));
  clearFirstRunFlag(positions);
}

}  // namespace

StartupResult startUp(DrawData& data, const EventFolder& folder, DrawView& view, Luck& luck,
                      const StartupHooks& hooks) {
  auto ask = [&view](const std::string& question) { return view.ask(question, {}, QuestionKind::Warning); };
  auto tell = [&view](const std::string& text) { view.showMessage(text); };
  // A settings file that is not the program's own is kept aside and the
  // operator chooses before anything reads or writes it.
  if (!settleSettingsFile(folder.configFiles(), ask, tell)) {
    data.state.drawBlocked = startupFailureMessage("设置文件不是本程序的。");
    return StartupResult::Declined;
  }
  // A Config.ini that cannot be read (a folder in its place, no permission)
  // already stops the sound settings load: with a message, like the loads after it.
  reportFailures(view, [&] {
    luck.sounds().load(folder);
    luck.playBackgroundMusic();
  });
  if (hooks.loadScreenSettings) reportFailures(view, hooks.loadScreenSettings);

  bool loaded = false;
  try {
    const LifecycleOutcome outcome = startupLoad(data, folder);
    loaded = true;
    if (outcome.message) tell(*outcome.message);
  } catch (const base::FileError&) {
    tell(data.state.drawBlocked);  // the block holds the failure's words and what to do
  } catch (const base::ConversionError&) {
    tell(data.state.drawBlocked);
  }
  // The screen is laid out even when the roster cannot be read (a picture draw
  // whose PicList.txt does not exist yet): the operator needs a clean screen and
  // the menu to set the roster up. Its one write (the first-run flag) failing on
  // a full disk must not keep the winners record from loading.
  bool firstRun = false;
  reportFailures(view, [&] {
    if (hooks.positionLoad)
      hooks.positionLoad(firstRun);
    else
      drawPositionLoad(folder, view, firstRun);
  });

  LifecycleOutcome resumed;
  if (loaded) {
    resumed = startupResume(data, folder, firstRun, ask);
    if (resumed.hint) view.setFieldText(Field::ActionHint, *resumed.hint);
    if (resumed.message) tell(*resumed.message);
  }
  if (!data.state.drawBlocked.empty()) view.setFieldText(Field::ActionHint, blockedHint());
  if (hooks.showScreen) reportFailures(view, hooks.showScreen);
  if (loaded) luck.buildSingleAwardMenu();
  view.setStartCaption(gbk("开始"));
  reportFailures(view, [&] { luck.showInterruptedBatch(resumed.interruptedBatch); });
  return data.state.drawBlocked.empty() ? StartupResult::Ready : StartupResult::Blocked;
}

}  // namespace draw
