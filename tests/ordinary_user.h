#pragma once
// Runs a piece of a test in a child process as an ordinary user, so that file
// permissions bite as they do for an operator: root passes every permission
// check, and a test of a read-only folder run as root would pass without
// testing anything. As root the child hands `folder` to the user nobody (65534)
// and becomes that user; otherwise it stays the user running the test.
// `leftToTheirOwner` names files of the folder that stay as they are: run as
// root, files another user (root) owns there, beside the ordinary user's own.
#include <grp.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "forked_body.h"

namespace testing_support {

inline bool passesAsOrdinaryUser(const std::filesystem::path& folder, const std::function<void()>& body,
                                 const std::vector<std::filesystem::path>& leftToTheirOwner = {}) {
  return passesInForkedChild(
      [&folder, &leftToTheirOwner] {
        if (::geteuid() != 0) return;
        constexpr uid_t kNobody = 65534;
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
          if (std::find(leftToTheirOwner.begin(), leftToTheirOwner.end(), it->path()) != leftToTheirOwner.end())
            continue;
          if (::lchown(it->path().c_str(), kNobody, kNobody) != 0) ::_exit(3);
        }
        if (::chown(folder.c_str(), kNobody, kNobody) != 0 || ::setgroups(0, nullptr) != 0 ||
            ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
          ::_exit(3);
      },
      body);
}

}  // namespace testing_support
