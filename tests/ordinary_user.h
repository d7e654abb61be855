#pragma once
// Runs a piece of a test in a child process as an ordinary user, so that file
// permissions bite as they do for an operator: root passes every permission
// check, and a test of a read-only folder run as root would pass without
// testing anything. As root the child hands `folder` to the user nobody (65534)
// and becomes that user; otherwise it stays the user running the test.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>

namespace testing_support {

inline bool passesAsOrdinaryUser(const std::filesystem::path& folder, const std::function<void()>& body) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0) {
      constexpr uid_t kNobody = 65534;
      std::error_code ec;
      for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
           !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (::lchown(it->path().c_str(), kNobody, kNobody) != 0) ::_exit(3);
      if (::chown(folder.c_str(), kNobody, kNobody) != 0 || ::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 ||
          ::setuid(kNobody) != 0)
        ::_exit(3);
    }
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

}  // namespace testing_support
