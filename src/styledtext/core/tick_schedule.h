#pragma once
// Which periodic ticks are due at a given millisecond. The scrolling text's
// worker asks this every millisecond; kept apart from the thread so the timing
// rules can be tested with a made-up clock. Not thread-safe: its owner locks.
#include <cstdint>
#include <vector>

namespace styledtext {

class TickSchedule {
 public:
  // A new tick, enabled, first due one interval after `now`. Returns its id.
  int add(int intervalMs, std::int64_t now);
  void remove(int id);
  void setInterval(int id, int intervalMs);
  // Enabling restarts the interval from `now`.
  void setEnabled(int id, bool enabled, std::int64_t now);
  bool enabled(int id) const;

  // The enabled ticks whose interval has elapsed since their last firing; each
  // records `now` as its firing time and its achieved rate.
  std::vector<int> due(std::int64_t now);

  // Firings per second over the last interval (1000 ÷ ms since the previous firing).
  double achievedRate(int id) const;

 private:
  struct Tick {
    int id = 0;
    int intervalMs = 0;
    bool enabled = true;
    std::int64_t lastFiring = 0;
    double rate = 0;
  };
  Tick* find(int id);
  const Tick* find(int id) const;

  std::vector<Tick> ticks_;
  int nextId_ = 1;
};

}  // namespace styledtext
