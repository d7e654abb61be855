#include "styledtext/SmoothTimer.h"

#include <chrono>

namespace styledtext {

SmoothTimer& SmoothTimer::instance() {
  static SmoothTimer timer;
  return timer;
}

SmoothTimer::~SmoothTimer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

std::int64_t SmoothTimer::nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int SmoothTimer::add(QObject* context, int intervalMs, Handler handler) {
  int id = 0;
  {
    std::lock_guard lock(mutex_);
    id = schedule_.add(intervalMs, nowMs());
    entries_[id] = Entry{context, std::move(handler), false};
    ensureWorker();
  }
  wake_.notify_all();
  return id;
}

void SmoothTimer::remove(int id) {
  std::lock_guard lock(mutex_);
  schedule_.remove(id);
  entries_.erase(id);
}

void SmoothTimer::setInterval(int id, int intervalMs) {
  std::lock_guard lock(mutex_);
  schedule_.setInterval(id, intervalMs);
}

void SmoothTimer::setEnabled(int id, bool enabled) {
  {
    std::lock_guard lock(mutex_);
    schedule_.setEnabled(id, enabled, nowMs());
  }
  wake_.notify_all();
}

double SmoothTimer::achievedRate(int id) {
  std::lock_guard lock(mutex_);
  return schedule_.achievedRate(id);
}

void SmoothTimer::ensureWorker() {
  if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
}

void SmoothTimer::run() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    bool anyEnabled = false;
    for (const auto& [id, entry] : entries_) anyEnabled = anyEnabled || schedule_.enabled(id);
    if (!anyEnabled) {
      wake_.wait(lock);
      continue;
    }
    for (int id : schedule_.due(nowMs())) {
      Entry& entry = entries_[id];
      if (entry.queued || !entry.context) continue;
      entry.queued = true;
      // Posted while the lock is held: once remove() returns, nothing new is
      // posted for the tick, and Qt drops what is posted to a destroyed context.
      QMetaObject::invokeMethod(
          entry.context,
          [this, id] {
            Handler handler;
            {
              std::lock_guard inner(mutex_);
              auto it = entries_.find(id);
              if (it == entries_.end()) return;
              it->second.queued = false;
              handler = it->second.handler;
            }
            handler();
          },
          Qt::QueuedConnection);
    }
    wake_.wait_for(lock, std::chrono::milliseconds(1));
  }
}

}  // namespace styledtext
