#pragma once
// Runs a piece of a test in a forked child, so that what the child changes about
// itself (a resource limit, its user) never reaches the rest of the suite.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <functional>

namespace testing_support {

// Forks; the child runs `prepare` (which ends the child with _exit(3) when it
// cannot set itself up), then `body`, whose expectations are checked in the
// child. The child ends here whatever the body does: an escaping exception must
// not carry it back into the rest of the suite. Returns whether the body passed.
inline bool passesInForkedChild(const std::function<void()>& prepare, const std::function<void()>& body) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    prepare();
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

}  // namespace testing_support
