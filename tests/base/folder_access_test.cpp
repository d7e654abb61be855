#include "base/folder_access.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "ordinary_user.h"
#include "test_folder.h"

namespace {

using testing_support::TestFolder;

// One event, one program: a second lock on the folder is refused while the
// first is held, in this process or another, and free again once it goes.
TEST(FolderLock, OneHolderAtATime) {
  TestFolder folder;
  base::FolderLock first(folder.path());
  base::FolderLock second(folder.path());
  ASSERT_TRUE(first.tryLock());
  EXPECT_TRUE(first.tryLock());
  EXPECT_FALSE(second.tryLock());

  // Another process sees it held, whatever its environment.
  std::fflush(nullptr);
  pid_t child = ::fork();
  if (child == 0) {
    base::FolderLock other(folder.path());
    ::_exit(other.tryLock() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  first.release();
  EXPECT_TRUE(second.tryLock());
}

// A program killed while holding the lock leaves none behind.
TEST(FolderLock, AKilledHolderLeavesNoStaleLock) {
  TestFolder folder;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    base::FolderLock held(folder.path());
    const char byte = held.tryLock() ? 1 : 0;
    [[maybe_unused]] auto n = ::write(ready[1], &byte, 1);
    ::pause();
    ::_exit(0);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  ASSERT_EQ(byte, 1);
  base::FolderLock mine(folder.path());
  EXPECT_FALSE(mine.tryLock());
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(mine.tryLock());
  ::close(ready[0]);
  ::close(ready[1]);
}

// A lock file another user left in the event folder (root's, the test running as
// nobody): one this user may only read still locks the event against a second
// program; one this user may not open at all is told with its name and cause,
// never taken for another program's lock nor passed over. Where the folder
// itself cannot be written, start-up's write check tells instead.
TEST(FolderLock, ALockFileOfAnotherUserLocksTheEventOrIsTold) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root: only root can leave a file of another user in the folder";
  struct Case {
    const char* what;
    std::filesystem::perms lockFileMode;  // none: there is no lock file
    bool folderWritable;
    std::optional<base::EventLock> outcome;  // none: raises
  } cases[] = {
      {"readable", std::filesystem::perms(0644), true, base::EventLock::Held},
      {"not even readable", std::filesystem::perms(0600), true, std::nullopt},
      {"in a read-only folder", std::filesystem::perms::none, false, base::EventLock::FolderNotWritable},
  };
  for (const Case& c : cases) {
    TestFolder folder;
    const std::filesystem::path lockFile = folder / base::kEventLockName;
    if (c.lockFileMode != std::filesystem::perms::none) {
      folder.write(base::kEventLockName, "");
      std::filesystem::permissions(lockFile, c.lockFileMode);
    }
    const bool passed = testing_support::passesAsOrdinaryUser(
        folder.path(),
        [&] {
          if (!c.folderWritable) ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
          base::FolderLock lock(folder.path());
          try {
            const base::EventLock outcome = base::lockEventFolder(lock);
            ASSERT_TRUE(c.outcome) << "taken as " << static_cast<int>(outcome);
            EXPECT_EQ(outcome, *c.outcome);
            if (outcome == base::EventLock::Held) {
              base::FolderLock second(folder.path());
              EXPECT_FALSE(second.tryLock()) << "a second program would draw the event too";
            }
          } catch (const base::FileError& error) {
            EXPECT_FALSE(c.outcome) << error.what();
            EXPECT_EQ(error.path(), lockFile);
            EXPECT_NE(std::string(error.what()).find("没有读写权限"), std::string::npos) << error.what();
          }
        },
        {lockFile});
    EXPECT_TRUE(passed) << c.what;
    // Never replaced by one of this user's: a program holding the old one would not see the new one.
    struct stat info {};
    if (c.lockFileMode != std::filesystem::perms::none)
      EXPECT_TRUE(::stat(lockFile.c_str(), &info) == 0 && info.st_uid == 0) << c.what;
    ::chmod(folder.path().c_str(), 0755);
  }
}

TEST(WriteProblem, NamesTheFolderOrFileThatCannotBeWritten) {
  TestFolder folder;
  folder.write("LuckName.txt", "1|a|a|x|1\r\n");
  EXPECT_FALSE(base::findWriteProblem(folder.path(), {"Config.ini", "LuckName.txt"}));

  // A folder standing where a file is expected cannot be appended to, root or not.
  std::filesystem::create_directory(folder / "Config.ini");
  auto problem = base::findWriteProblem(folder.path(), {"Config.ini", "LuckName.txt"});
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->path(), folder / "Config.ini");
  std::filesystem::remove(folder / "Config.ini");

  EXPECT_TRUE(testing_support::passesAsOrdinaryUser(folder.path(), [&] {
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    auto readOnly = base::findWriteProblem(folder.path(), {"LuckName.txt"});
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(readOnly->path(), folder.path());
    EXPECT_NE(std::string(readOnly->what()).find("没有读写权限"), std::string::npos) << readOnly->what();
    ::chmod(folder.path().c_str(), 0755);
    ::chmod((folder / "LuckName.txt").c_str(), 0444);
    auto readOnlyFile = base::findWriteProblem(folder.path(), {"LuckName.txt"});
    ASSERT_TRUE(readOnlyFile);
    EXPECT_EQ(readOnlyFile->path(), folder / "LuckName.txt");
  }));
}

}  // namespace
