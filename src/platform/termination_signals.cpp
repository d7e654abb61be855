#include "platform/termination_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace platform {

namespace {
int wakeFds[2] = {-1, -1};

void onSignal(int) {
  const char byte = 1;
  // Only write(2) here: it is async-signal-safe. A full socket means a wake-up is pending already.
  [[maybe_unused]] const ssize_t written = ::write(wakeFds[0], &byte, 1);
}
}  // namespace

void quitOnTerminationSignals(QObject* context, std::function<void()> quit) {
  if (wakeFds[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeFds) != 0) return;
  auto* notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context, [quit = std::move(quit)] {
    char byte = 0;
    [[maybe_unused]] const ssize_t got = ::read(wakeFds[1], &byte, 1);
    quit();
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
}

}  // namespace platform
