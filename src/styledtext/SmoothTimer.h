#pragma once
// The tick source of the smooth scrolling text: one background worker wakes
// every millisecond, decides which ticks are due and hands each due tick to the
// user-interface thread, where its handler runs. A tick whose previous firing
// is still waiting there is not queued again, so a busy UI thread never piles
// up scroll steps.
#include <QObject>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "styledtext/core/tick_schedule.h"

namespace styledtext {

class SmoothTimer {
 public:
  using Handler = std::function<void()>;

  static SmoothTimer& instance();
  ~SmoothTimer();
  SmoothTimer(const SmoothTimer&) = delete;
  SmoothTimer& operator=(const SmoothTimer&) = delete;

  // A new enabled tick every intervalMs; `handler` runs on `context`'s thread,
  // never after the tick is removed. The owner removes the tick before
  // `context` is destroyed.
  int add(QObject* context, int intervalMs, Handler handler);
  void remove(int id);
  // Takes effect at once: the next firing is measured from the last one.
  void setInterval(int id, int intervalMs);
  void setEnabled(int id, bool enabled);
  double achievedRate(int id);

 private:
  SmoothTimer() = default;
  struct Entry {
    QObject* context = nullptr;
    Handler handler;
    bool queued = false;
  };
  void run();
  void ensureWorker();
  static std::int64_t nowMs();

  std::mutex mutex_;
  std::condition_variable wake_;
  TickSchedule schedule_;
  std::map<int, Entry> entries_;
  std::thread worker_;
  bool stopping_ = false;
};

}  // namespace styledtext
