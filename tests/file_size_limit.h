#pragma once
// Runs a piece of a test in a child process whose files cannot grow past a
// size limit, the way a full disk stops a write: write() takes what fits and
// then fails with EFBIG. Unlike a read-only folder, root is held by the limit
// too, so the test fails when it should whoever runs it.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <exception>
#include <functional>

namespace testing_support {

// Runs `body` in a child with RLIMIT_FSIZE at `limitBytes` and SIGXFSZ ignored.
// The hard limit stays, so the body can lift the limit again (freeDiskSpace) as
// an operator frees space. The body's expectations are checked in the child;
// returns whether it passed.
inline bool passesUnderFileSizeLimit(rlim_t limitBytes, const std::function<void()>& body) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limitBytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
    // The child ends here whatever the body does: an escaping exception must not
    // carry it back into the rest of the suite.
    int outcome = 1;
    try {
      body();
      outcome = ::testing::Test::HasFailure() ? 1 : 0;
    } catch (const std::exception& error) {
      ADD_FAILURE() << "the body raised: " << error.what();
    } catch (...) {
      ADD_FAILURE() << "the body raised an exception";
    }
    std::fflush(nullptr);
    ::_exit(outcome);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Inside such a body: files may grow again up to the hard limit.
inline void freeDiskSpace() {
  struct rlimit limit {};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = limit.rlim_max;
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace testing_support
