#include "base/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/file_error.h"
#include "file_size_limit.h"
#include "ordinary_user.h"
#include "test_folder.h"

using testing_support::TestFolder;

namespace {
int entryCount(const std::filesystem::path& folder) {
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder)) ++entries;
  return entries;
}
}  // namespace

TEST(TextFile, SplitsLinesAtEveryLineEnd) {
  using Lines = std::vector<std::string>;
  struct Case {
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\r\n\r\nb", {"a", "", "b"}},  // an empty line is a line
      {"a\n\n", {"a", ""}},            // the last line end adds no line
      {"\r\r\n", {"", ""}},
      {std::string("x\0y\n", 4), {std::string("x\0y", 3)}},  // NUL bytes are kept
      {"\xEF\xBB\xBF[a]\r\nk=1", {"[a]", "k=1"}},            // an editor's byte order mark goes
      {"x\xEF\xBB\xBF", {"x\xEF\xBB\xBF"}},                  // only at the very start
      {"\xEF\xBB\xBF\xEF\xBB\xBF[a]", {"[a]"}},              // one editor after another
  };
  for (const auto& c : cases) EXPECT_EQ(base::splitLines(c.text), c.lines);
}

// The fast scanner against the plain rule, on random texts long enough to cross
// its sixteen-byte steps.
TEST(TextFile, SplitAgreesWithThePlainRuleOnRandomTexts) {
  auto reference = [](const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' || text[i] == '\n') {
        lines.push_back(current);
        current.clear();
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      } else {
        current += text[i];
      }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
  };
  std::mt19937 random(5);
  const char alphabet[] = {'\r', '\n', 'a', '\xB0', '|'};
  for (int round = 0; round < 500; ++round) {
    std::string text(random() % 70, ' ');
    for (char& c : text) c = alphabet[random() % 5];
    ASSERT_EQ(base::splitLines(text), reference(text)) << round;
  }
}

TEST(TextFile, AppendRewriteAndTruncateKeepBytesExactly) {
  TestFolder folder;
  auto path = folder / "LuckName.txt";
  std::string odd = std::string("12|\xFF\xB0|x") + "\xB0";  // not valid GBK, lone lead byte at the end
  base::appendLine(path, odd);
  base::appendLine(path, "");
  EXPECT_EQ(folder.read("LuckName.txt"), odd + "\r\n\r\n");
  EXPECT_EQ(base::readLines(path), (std::vector<std::string>{odd, ""}));

  base::rewriteLines(path, {"a", "b"});
  EXPECT_EQ(folder.read("LuckName.txt"), "a\r\nb\r\n");
  base::truncateFile(path);
  EXPECT_EQ(folder.read("LuckName.txt"), "");
  // No temporary file is left behind.
  EXPECT_EQ(entryCount(folder.path()), 1);
}

TEST(TextFile, LongLinesSurviveAReadAndAWrite) {
  TestFolder folder;
  std::string line(10 * 1024 * 1024, 'x');
  line[5] = '\xB0';
  base::rewriteLines(folder / "big.txt", {line, "end"});
  auto lines = base::readLines(folder / "big.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], line);
}

TEST(TextFile, FailuresAreReportedNotSwallowed) {
  TestFolder folder;
  EXPECT_FALSE(base::readFileIfExists(folder / "missing.txt").has_value());
  EXPECT_THROW(base::readFile(folder / "missing.txt"), base::FileError);
  EXPECT_THROW(base::appendLine(folder / "no_such_folder" / "log.txt", "x"), base::FileError);

  // A rewrite that cannot replace its target leaves nothing half-written.
  std::filesystem::create_directory(folder / "Config.ini");
  EXPECT_THROW(base::rewriteLines(folder / "Config.ini", {"x"}), base::FileError);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Config.ini"));

  // A file where a folder should be stops a write whoever runs the program.
  folder.write("photo", "not a folder");
  EXPECT_THROW(base::appendLine(folder / "photo" / "log.txt", "x"), base::FileError);
  EXPECT_THROW(base::rewriteLines(folder / "photo" / "x.txt", {"x"}), base::FileError);
  EXPECT_EQ(folder.read("photo"), "not a folder");

  // Root writes into read-only folders: the case runs as an ordinary user.
  folder.write("log.txt", "old\r\n");
  EXPECT_TRUE(testing_support::passesAsOrdinaryUser(folder.path(), [&] {
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    EXPECT_THROW(base::rewriteLines(folder / "log.txt", {"new"}), base::FileError);
    EXPECT_THROW(base::appendLine(folder / "new.txt", "x"), base::FileError);
    ::chmod(folder.path().c_str(), 0755);
  }));
  EXPECT_EQ(folder.read("log.txt"), "old\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "new.txt"));
}

// A write that the disk cannot take fails with a message and leaves every file
// as it was: no part of an appended line, no half-replaced file, no temporary.
TEST(TextFile, AFullDiskLeavesTheFilesAsTheyWere) {
  TestFolder folder;
  const std::string record = "1|a|a|A|1\r\n";
  folder.write("LuckName.txt", record);
  folder.write("Config.ini", "[a]\r\nk=1\r\n");
  const std::string longLine(64, 'x');
  EXPECT_TRUE(testing_support::passesUnderFileSizeLimit(record.size() + 20, [&] {
    try {
      base::appendLine(folder / "LuckName.txt", longLine);
      ADD_FAILURE() << "the append past the limit succeeded";
    } catch (const base::FileError& error) {
      EXPECT_NE(std::string(error.what()).find("LuckName.txt"), std::string::npos);
      EXPECT_EQ(error.kind(), base::FileError::Kind::CannotWrite);
    }
    EXPECT_THROW(base::appendLine(folder / "log.txt", longLine), base::FileError);
    EXPECT_THROW(base::rewriteLines(folder / "Config.ini", {longLine}), base::FileError);
    // What fits still goes through: the operator frees space and goes on.
    base::appendLine(folder / "LuckName.txt", "2|b|b|A|1");
  }));
  EXPECT_EQ(folder.read("LuckName.txt"), record + "2|b|b|A|1\r\n");
  EXPECT_EQ(folder.read("Config.ini"), "[a]\r\nk=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "log.txt"));  // a failed first line creates no file
  EXPECT_EQ(entryCount(folder.path()), 2);
}

// An append after a last line that lost its line end starts a line of its own,
// so the two never read as one record.
TEST(TextFile, AnAppendAlwaysStartsOnAFreshLine) {
  TestFolder folder;
  for (const std::string& before : {std::string("1|a|a|A|1\r\n3|c"), std::string("x\r"), std::string("")}) {
    folder.write("LuckName.txt", before);
    base::appendLine(folder / "LuckName.txt", "2|b|b|A|1");
    std::vector<std::string> lines = base::readLines(folder / "LuckName.txt");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "2|b|b|A|1") << before;
    EXPECT_EQ(lines.size(), base::splitLines(before).size() + 1) << before;
  }
}

namespace {
// Records every sync and rename as "<call> <name>", the name taken relative to
// the test's folder ("." for the folder itself, the digits of a temporary
// file's name dropped), and still makes the calls.
class RecordedCalls : public base::DurabilityCalls {
 public:
  explicit RecordedCalls(const std::filesystem::path& folder) : folder_(folder) { base::setDurabilityCalls(this); }
  ~RecordedCalls() override { base::setDurabilityCalls(nullptr); }
  int fsync(int fd) override {
    calls.push_back("fsync " + nameOf(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd))));
    return DurabilityCalls::fsync(fd);
  }
  int fdatasync(int fd) override {
    calls.push_back("fdatasync " + nameOf(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd))));
    return DurabilityCalls::fdatasync(fd);
  }
  int rename(const char* from, const char* to) override {
    calls.push_back("rename " + nameOf(from) + " " + nameOf(to));
    return DurabilityCalls::rename(from, to);
  }
  std::vector<std::string> calls;

 private:
  std::string nameOf(const std::filesystem::path& path) const {
    std::string name =
        std::filesystem::weakly_canonical(path).lexically_relative(std::filesystem::weakly_canonical(folder_)).string();
    if (auto tmp = name.find(".tmp"); tmp != std::string::npos) name.resize(tmp + 4);
    return name;
  }
  std::filesystem::path folder_;
};
}  // namespace

// A crash after the rename must find the new contents on disk, and the rename
// itself must be on disk before the call returns; an appended line is on disk
// before the draw goes on.
TEST(TextFile, WritesAreSyncedInTheOrderThatSurvivesAPowerCut) {
  using Calls = std::vector<std::string>;
  TestFolder folder;
  RecordedCalls recorded(folder.path());
  base::rewriteLines(folder / "Config.ini", {"[a]"});
  EXPECT_EQ(recorded.calls, (Calls{"fsync Config.ini.tmp", "rename Config.ini.tmp Config.ini", "fsync ."}));

  recorded.calls.clear();
  base::appendLine(folder / "LuckName.txt", "1|a|a|A|1");  // a new file: its folder entry too
  base::appendLine(folder / "LuckName.txt", "2|b|b|A|1");
  EXPECT_EQ(recorded.calls, (Calls{"fdatasync LuckName.txt", "fsync .", "fdatasync LuckName.txt"}));
}

namespace {
// Holds each of two writers at the sync of its temporary file until the other
// has made its own, so that both temporary files stand beside the file at once:
// the moment two writers that picked one name would share it. A writer that
// ends without a sync (it failed earlier) lets the other go on. Records the
// temporary names the renames take. Skips the syncs themselves: only the names matter here.
class TwoWritersMeet : public base::DurabilityCalls {
 public:
  TwoWritersMeet() { base::setDurabilityCalls(this); }
  ~TwoWritersMeet() override { base::setDurabilityCalls(nullptr); }
  int fsync(int fd) override {
    struct stat info {};
    if (meeting && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) arrive();
    return 0;
  }
  int rename(const char* from, const char* to) override {
    {
      std::lock_guard lock(mutex_);
      renamed.emplace_back(from);
    }
    return DurabilityCalls::rename(from, to);
  }
  // Each writer calls this when it is done, whatever happened.
  void leave() { arrive(); }
  bool meeting = false;
  std::vector<std::string> renamed;

 private:
  void arrive() {
    thread_local const TwoWritersMeet* arrivedAt = nullptr;
    if (arrivedAt == this) return;
    arrivedAt = this;
    std::unique_lock lock(mutex_);
    ++arrived_;
    both_.notify_all();
    both_.wait(lock, [&] { return arrived_ >= 2; });
  }
  std::mutex mutex_;
  std::condition_variable both_;
  int arrived_ = 0;
};

// The number that ends a temporary name ("….tmp<pid>_<n>").
unsigned long long temporaryNumber(const std::string& name) { return std::stoull(name.substr(name.rfind('_') + 1)); }
}  // namespace

// The phone scorer replaces the scoring file on its own thread while a window
// saves the same file: the two writes are the two kinds of replacement, and
// each must get a temporary name of its own, or one renames the other's file
// away and fails with a folder that "does not exist". Names that came from a
// count of each kind would meet when the two counts stand at the same number,
// as they may after any evening's writes: the test brings them there first.
TEST(TextFile, TwoThreadsWritingOneFileNeverShareATemporaryName) {
  TestFolder folder;
  const std::filesystem::path file = folder / "评分文件.txt";
  const std::string bytes = "[1.舞蹈]\r\n评委甲=8\r\n";
  base::writeFileAtomically(file, bytes);
  TwoWritersMeet meet;
  // Both kinds write what the file holds, so the check of the second passes
  // whichever rename comes first.
  auto save = [&] { base::writeFileAtomically(file, bytes); };
  auto phone = [&] { EXPECT_TRUE(base::replaceFileIfUnchanged(file, bytes, bytes)); };
  save();
  phone();
  ASSERT_EQ(meet.renamed.size(), 2u);
  unsigned long long nextSave = temporaryNumber(meet.renamed[0]) + 1;
  unsigned long long nextPhone = temporaryNumber(meet.renamed[1]) + 1;
  for (; nextSave < nextPhone; ++nextSave) save();
  for (; nextPhone < nextSave; ++nextPhone) phone();

  meet.renamed.clear();
  meet.meeting = true;
  std::string failures[2];
  auto writer = [&](int which, const std::function<void()>& write) {
    try {
      write();
    } catch (const std::exception& error) {
      failures[which] = error.what();
    }
    meet.leave();
  };
  std::thread saving(writer, 0, save);
  std::thread scoring(writer, 1, phone);
  saving.join();
  scoring.join();
  EXPECT_EQ(failures[0], "");
  EXPECT_EQ(failures[1], "");
  ASSERT_EQ(meet.renamed.size(), 2u);
  EXPECT_NE(meet.renamed[0], meet.renamed[1]);
  EXPECT_EQ(base::readFile(file), bytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "a temporary file was left";
}
