#pragma once
// Runs the start-up of an event folder and a few start/stop commands, as the
// headless driver does, on whatever files the target wrote. Every failure the
// program shows as a message is fine; anything that escapes is a finding.
#include "draw/headless_view.h"
#include "draw/startup.h"

namespace fuzzing {

struct EventRun {
  draw::DrawData data;
  draw::HeadlessView view;
  bool started = false;
};

inline void runEvent(const draw::EventFolder& folder, EventRun& run, int commands) {
  draw::Luck luck(run.data, folder, run.view);
  run.started = draw::startUp(run.data, folder, run.view, luck) == draw::StartupResult::Ready;
  run.data.random.seed(1);
  if (!run.started) return;
  for (int command = 0; command < commands; ++command) {
    if (luck.winnersDisplayPending()) luck.Timer2Timer();
    luck.startStopCommand();
    while (luck.countingDown()) luck.Timer4Timer();
    if (luck.rolling()) luck.Timer1Timer();
  }
}

}  // namespace fuzzing
