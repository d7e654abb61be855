#pragma once
// Hands back to the system, a while after a burst of work, the pages the
// allocator keeps once the burst's temporaries are freed: the start-up's (the
// files read, every caption's first render) and a roll's first frames, which
// lay out and render every name once. The draw screen then stays up for hours
// at its working size rather than at its largest.
#include <QObject>
#include <QTimer>
#include <functional>

namespace platform {

class FreedMemoryReturn : public QObject {
 public:
  // `giveBack` is what runs when the time comes: returnNow, or a test's recorder.
  explicit FreedMemoryReturn(int delayMs = 2000, QObject* parent = nullptr,
                             std::function<void()> giveBack = &FreedMemoryReturn::returnNow);

  // Returns the memory `delayMs` after the last call.
  void schedule();
  // Returns it now: the allocator lets go of every free page it holds.
  static void returnNow();
  // The delay's timer, for tests to wait on.
  const QTimer& timer() const { return timer_; }

 private:
  QTimer timer_;
  std::function<void()> giveBack_;
};

}  // namespace platform
