#include "platform/memory_return.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

FreedMemoryReturn::FreedMemoryReturn(int delayMs, QObject* parent, std::function<void()> giveBack)
    : QObject(parent), giveBack_(std::move(giveBack)) {
  timer_.setSingleShot(true);
  timer_.setInterval(delayMs);
  connect(&timer_, &QTimer::timeout, this, [this] { giveBack_(); });
}

void FreedMemoryReturn::schedule() { timer_.start(); }

void FreedMemoryReturn::returnNow() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace platform
