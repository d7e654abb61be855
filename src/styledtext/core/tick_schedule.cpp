#include "styledtext/core/tick_schedule.h"

#include <algorithm>

namespace styledtext {

int TickSchedule::add(int intervalMs, std::int64_t now) {
  ticks_.push_back(Tick{nextId_, std::max(1, intervalMs), true, now, 0});
  return nextId_++;
}

void TickSchedule::remove(int id) {
  std::erase_if(ticks_, [id](const Tick& t) { return t.id == id; });
}

void TickSchedule::setInterval(int id, int intervalMs) {
  if (Tick* t = find(id)) t->intervalMs = std::max(1, intervalMs);
}

void TickSchedule::setEnabled(int id, bool enabled, std::int64_t now) {
  Tick* t = find(id);
  if (!t || t->enabled == enabled) return;
  t->enabled = enabled;
  if (enabled) t->lastFiring = now;
}

bool TickSchedule::enabled(int id) const {
  const Tick* t = find(id);
  return t && t->enabled;
}

std::vector<int> TickSchedule::due(std::int64_t now) {
  std::vector<int> fired;
  for (Tick& t : ticks_) {
    if (!t.enabled || now - t.lastFiring < t.intervalMs) continue;
    const std::int64_t elapsed = now - t.lastFiring;
    t.rate = elapsed > 0 ? 1000.0 / static_cast<double>(elapsed) : 0;
    t.lastFiring = now;
    fired.push_back(t.id);
  }
  return fired;
}

double TickSchedule::achievedRate(int id) const {
  const Tick* t = find(id);
  return t ? t->rate : 0;
}

TickSchedule::Tick* TickSchedule::find(int id) {
  auto it = std::find_if(ticks_.begin(), ticks_.end(), [id](const Tick& t) { return t.id == id; });
  return it == ticks_.end() ? nullptr : &*it;
}

const TickSchedule::Tick* TickSchedule::find(int id) const { return const_cast<TickSchedule*>(this)->find(id); }

}  // namespace styledtext
