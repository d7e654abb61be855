#include "draw/config_backup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "base/file_error.h"
#include "file_size_limit.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TestFolder;

// Every file below `root` with its bytes, by path relative to root.
std::map<std::string, std::string> contents(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = base::readFile(entry.path());
  return files;
}

void put(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  base::writeFileAtomically(file, bytes);
}

TEST(ConfigBackup, ExportLeavesTheProgramOutAndImportBringsTheEventBack) {
  TestFolder root;
  const fs::path program = root / "Kelvara抽奖软件";
  put(program / "Kelvara抽奖软件", "ELF");
  put(program / "libkv_sound.so", "ELF");
  put(program / "Config.ini", "[a]\r\nb=1\r\n");
  put(program / "SysConfig.ini", "template");
  put(program / "LuckName.txt", "1|a|a|x|1\r\n");
  put(program / "NameList.txt", "a\r\n");
  put(program / "music" / "背景.wav", "RIFF");
  put(program / "photo" / "sub" / "p.jpg", "JPEG");
  put(program / "manager" / "m.jpg", "judge");

  const fs::path chosen = root / "U盘";
  fs::create_directories(chosen);
  ASSERT_FALSE(draw::exportWouldCopyIntoItself(program, chosen));
  const fs::path backup = draw::backupFolderIn(chosen);
  draw::exportConfiguration(program, backup, {"Kelvara抽奖软件", "libkv_sound.so"});
  auto expected = contents(program);
  expected.erase("Kelvara抽奖软件");
  expected.erase("libkv_sound.so");
  EXPECT_EQ(contents(backup), expected);

  // Import into another installation with its own template, logo and judges.
  const fs::path other = root / "other";
  put(other / "SysConfig.ini", "own template");
  put(other / "Config.ini", "old");
  put(other / "music" / "own.wav", "own");
  put(other / "manager" / "m.jpg", "own judge");
  ASSERT_TRUE(draw::hasBackupFolderName(backup.string()));
  ASSERT_TRUE(draw::looksLikeBackup(backup));
  const draw::ImportOutcome outcome = draw::importConfiguration(backup, other);
  EXPECT_FALSE(outcome.foldersCopied);  // the backup has no "backpic", "data" or "prize"
  EXPECT_TRUE(outcome.failures.empty());
  auto imported = contents(other);
  EXPECT_EQ(imported["Config.ini"], "[a]\r\nb=1\r\n");
  EXPECT_EQ(imported["LuckName.txt"], "1|a|a|x|1\r\n");
  EXPECT_EQ(imported["NameList.txt"], "a\r\n");
  EXPECT_EQ(imported["music/背景.wav"], "RIFF");
  EXPECT_EQ(imported["music/own.wav"], "own");  // merged, not replaced as a whole
  EXPECT_EQ(imported["photo/sub/p.jpg"], "JPEG");
  EXPECT_EQ(imported["SysConfig.ini"], "own template");
  EXPECT_EQ(imported["manager/m.jpg"], "own judge");
  for (const auto& [name, bytes] : imported) EXPECT_EQ(name.find(".kvcopy"), std::string::npos) << name;
}

// An export the disk cannot take (here a size limit, which holds root too) says
// why in Chinese and leaves no half backup behind, not even an empty folder.
TEST(ConfigBackup, AFailedExportTakesAwayWhatItMade) {
  TestFolder root;
  const fs::path program = root / "Kelvara抽奖软件";
  put(program / "Config.ini", "[a]\r\n");
  put(program / "photo" / "big.jpg", std::string(64 * 1024, 'j'));
  put(program / "music" / "a.mp3", "ID3");
  const fs::path backup = draw::backupFolderIn(root / "usb");
  fs::create_directories(root / "usb");
  EXPECT_TRUE(testing_support::passesUnderFileSizeLimit(16 * 1024, [&] {
    try {
      draw::exportConfiguration(program, backup, {});
      ADD_FAILURE() << "the export went through";
    } catch (const base::FileError& error) {
      // The library reports the limit in its own way; whatever the cause, it is in words.
      const std::string& reason = error.reason();
      EXPECT_TRUE(std::any_of(reason.begin(), reason.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x80;
      })) << error.what();
    }
    EXPECT_FALSE(fs::exists(backup));
  }));
}

// The operator exports again onto the stick that holds last night's backup and
// agrees to overwrite it, and the stick fills up halfway: the earlier backup is
// still the one it was, file for file (no file of tonight's beside last night's
// in it). Once there is room, the export replaces its files and keeps the rest.
TEST(ConfigBackup, AFailedExportLeavesTheEarlierBackupAsItWas) {
  TestFolder root;
  const fs::path program = root / "Kelvara抽奖软件";
  put(program / "Config.ini", "[a]\r\ntonight=1\r\n");
  put(program / "LuckName.txt", "1|a|a|x|1\r\n2|b|b|x|1\r\n");
  put(program / "music" / "a.mp3", "ID3 tonight");
  put(program / "photo" / "big.jpg", std::string(64 * 1024, 'j'));
  const fs::path backup = draw::backupFolderIn(root / "usb");
  put(backup / "Config.ini", "[a]\r\nlast night=1\r\n");
  put(backup / "LuckName.txt", "");
  put(backup / "music" / "a.mp3", "ID3 last night");
  put(backup / "music" / "only there.wav", "RIFF");
  put(backup / "photo" / "p.jpg", "JPEG");
  const auto earlier = contents(backup);
  const bool passed = testing_support::passesUnderFileSizeLimit(16 * 1024, [&] {
    EXPECT_THROW(draw::exportConfiguration(program, backup, {}), base::FileError);
    EXPECT_EQ(contents(backup), earlier);
    testing_support::freeDiskSpace();
    draw::exportConfiguration(program, backup, {});
    auto merged = earlier;
    for (const auto& [name, bytes] : contents(program)) merged[name] = bytes;
    EXPECT_EQ(contents(backup), merged);
  });
  EXPECT_TRUE(passed);
}

TEST(ConfigBackup, AllFiveFoldersMakeACompleteImport) {
  TestFolder root;
  const fs::path backup = root / "Kelvara抽奖软件";
  for (const std::string& folder : draw::importedFolders()) put(backup / folder / "f", folder);
  const draw::ImportOutcome outcome = draw::importConfiguration(backup, root / "program");
  EXPECT_TRUE(outcome.foldersCopied);
  EXPECT_EQ(base::readFile(root / "program" / "prize" / "f"), "prize");
}

TEST(ConfigBackup, ExportRefusesToCopyTheProgramFolderIntoOrOntoItself) {
  TestFolder root;
  const fs::path program = root / "Kelvara抽奖软件";
  fs::create_directories(program / "data");
  fs::create_directories(root / "Kelvara抽奖软件2");
  const struct {
    fs::path chosen;
    bool refused;
  } cases[] = {
      {program, true},
      {program / "data", true},
      {program / "data" / ".." / "data" / "", true},
      {program / "not yet there", true},
      {root.path(), true},  // the backup folder would be the program folder itself
      {root / "Kelvara抽奖软件2", false},
      {root / "elsewhere", false},
  };
  for (const auto& c : cases) EXPECT_EQ(draw::exportWouldCopyIntoItself(program, c.chosen), c.refused) << c.chosen;
}

TEST(ConfigBackup, ImportChecksTheNameAndRefusesAFolderThatHoldsNoBackup) {
  const struct {
    const char* path;
    bool accepted;
  } names[] = {{"/media/u/Kelvara抽奖软件", true},
               {"/media/u/Kelvara抽奖软件/", true},
               {"/media/u/备份", false},
               {"抽奖软件", false},
               {"", false},
               {"/media/u/Kelvara抽奖软件/backpic", false}};
  for (const auto& n : names) EXPECT_EQ(draw::hasBackupFolderName(n.path), n.accepted) << n.path;

  TestFolder root;
  const fs::path empty = root / "Kelvara抽奖软件";
  put(empty / "readme.txt", "x");
  EXPECT_FALSE(draw::looksLikeBackup(empty));
  put(empty / "PicList.txt", "x");
  EXPECT_TRUE(draw::looksLikeBackup(empty));
}

}  // namespace
