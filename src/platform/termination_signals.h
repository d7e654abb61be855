#pragma once
// A kiosk session stops the program with SIGTERM, a closing terminal with SIGHUP,
// Ctrl+C with SIGINT. Each ends it as closing the window does, the exit save
// included, and between two commands, never inside one: the signal only wakes the
// event loop, which runs `quit` when the command in hand is over.
#include <QObject>
#include <functional>

namespace platform {

// Installs the handlers; `quit` runs on the user-interface thread, once per
// signal. `context` owns the notifier.
void quitOnTerminationSignals(QObject* context, std::function<void()> quit);

}  // namespace platform
