#pragma once
// What every test of real windows sets up before its first window, made once as
// the first member of the test object: the program's font substitutions
// (Chinese drawn in a real CJK face, as the program shows it), dialog services
// that show nothing (a question without a queued answer is cancelled, a display
// closes as soon as it has opened, and every message is logged), and a user
// settings folder of this run for the lock password's store, so that no test
// reads or writes the tester's own.
#include <QByteArray>

#include "platform/font_substitutions.h"
#include "screen/dialog_service.h"
#include "test_folder.h"

namespace testing_support {

class WindowTestSetup {
 public:
  WindowTestSetup() {
    platform::installFontSubstitutions();
    screen::DialogService::setHeadlessByDefault(true);
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(userSettings_.path().string()));
  }
  WindowTestSetup(const WindowTestSetup&) = delete;
  WindowTestSetup& operator=(const WindowTestSetup&) = delete;

  // $XDG_CONFIG_HOME for this run.
  const TestFolder& userSettings() const { return userSettings_; }

 private:
  TestFolder userSettings_;
};

}  // namespace testing_support
