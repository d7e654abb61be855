#pragma once
// Runs a piece of a test in a child process whose files cannot grow past a
// size limit, the way a full disk stops a write: write() takes what fits and
// then fails with EFBIG. Unlike a read-only folder, root is held by the limit
// too, so the test fails when it should whoever runs it.
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "forked_body.h"

namespace testing_support {

// Runs `body` in a child with RLIMIT_FSIZE at `limitBytes` and SIGXFSZ ignored.
// The hard limit stays, so the body can lift the limit again (freeDiskSpace) as
// an operator frees space. The body's expectations are checked in the child;
// returns whether it passed.
inline bool passesUnderFileSizeLimit(rlim_t limitBytes, const std::function<void()>& body) {
  return passesInForkedChild(
      [limitBytes] {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = limitBytes;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
      },
      body);
}

// Inside such a body: files may grow again up to the hard limit.
inline void freeDiskSpace() {
  struct rlimit limit {};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = limit.rlim_max;
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace testing_support
