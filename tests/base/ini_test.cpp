#include <gtest/gtest.h>

#include "base/config_files.h"
#include "base/file_error.h"
#include "base/ini_document.h"
#include "base/ini_file.h"
#include "test_folder.h"

using testing_support::gbk;
using testing_support::TestFolder;

TEST(Ini, ReadsWithDefaultsCaseAndBlanksAsTheConventionSays) {
  TestFolder folder;
  folder.write("Config.ini", gbk("; note\r\n[界面设置]\r\n滚动速度 =  5  \r\nAuto=0x1F\r\nBad=abc\r\n"
                                 "Neg=-3\r\nflag=-1\r\n[Section]\r\nKey=first\r\nkey=second\r\n"));
  base::IniFile ini(folder / "Config.ini");
  const std::string ui = gbk("界面设置");
  EXPECT_EQ(ini.readInt(ui, gbk("滚动速度"), 100), 5);
  EXPECT_EQ(ini.readInt(ui, "auto", 0), 31);
  EXPECT_EQ(ini.readInt(ui, "Bad", 7), 7);
  EXPECT_EQ(ini.readInt(ui, "Neg", 0), -3);
  EXPECT_TRUE(ini.readBool(ui, "FLAG", false));
  EXPECT_TRUE(ini.readBool(ui, "Neg", false));
  EXPECT_TRUE(ini.readBool(ui, "Bad", true));
  EXPECT_EQ(ini.readString("SECTION", "KEY", ""), "first");  // the first of two spellings
  EXPECT_EQ(ini.readString("Missing", "x", "dflt"), "dflt");
  EXPECT_EQ(base::IniFile(folder / "none.ini").readInt("a", "b", 9), 9);
}

TEST(Ini, WritesReachTheFileAtOnceAndKeepUnknownLines) {
  TestFolder folder;
  folder.write("Config.ini", "; kept comment\r\n[A]\r\nx=1\r\n\r\n[Other]\r\nodd line\r\ny=2\r\n");
  base::IniFile writer(folder / "Config.ini");
  writer.writeString("a", "X", "10");  // existing key, other case: replaced in place
  writer.writeString("A", "z", "3");   // new key after the last key of [A]
  writer.writeInt("New", "k", -5);     // new section at the end
  writer.writeBool("New", "b", true);
  writer.deleteKey("Other", "y");
  EXPECT_EQ(folder.read("Config.ini"),
            "; kept comment\r\n[A]\r\nx=10\r\nz=3\r\n\r\n[Other]\r\nodd line\r\n[New]\r\nk=-5\r\nb=1\r\n");
  // A reader opened afterwards sees every write.
  EXPECT_EQ(base::IniFile(folder / "Config.ini").readInt("new", "K", 0), -5);
}

TEST(Ini, SingleWritesDoNotLoseWritesMadeThroughAnotherObject) {
  TestFolder folder;
  base::IniFile first(folder / "Config.ini");
  base::IniFile second(folder / "Config.ini");
  first.writeString("S", "a", "1");
  second.writeString("S", "b", "2");
  base::IniFile reader(folder / "Config.ini");
  EXPECT_EQ(reader.readString("S", "a", ""), "1");
  EXPECT_EQ(reader.readString("S", "b", ""), "2");
}

TEST(Ini, BatchWritesOnceAtCommit) {
  TestFolder folder;
  base::IniFile ini(folder / "Config.ini");
  {
    base::IniBatch batch(ini);
    for (int i = 0; i < 100; ++i) ini.writeInt("L" + std::to_string(i), "X", i);
    EXPECT_FALSE(std::filesystem::exists(folder / "Config.ini"));
  }
  EXPECT_EQ(base::IniFile(folder / "Config.ini").readInt("L99", "x", 0), 99);
}

TEST(Ini, InvalidGbkSurvivesAReadAndAWrite) {
  TestFolder folder;
  std::string odd = std::string("[S]\r\nname=\xFF\xB0") + "z\r\n" + "junk \x81\r\n";
  folder.write("Config.ini", odd);
  base::IniFile ini(folder / "Config.ini");
  EXPECT_EQ(ini.readString("S", "name", ""), "\xFF\xB0z");
  ini.writeString("S", "other", "1");
  EXPECT_EQ(folder.read("Config.ini"), "[S]\r\nname=\xFF\xB0z\r\nother=1\r\njunk \x81\r\n");
}

// Byte order marks from one editor after another: the first section is still
// read, and a document written back reads as itself (the fuzzer found one that
// did not).
TEST(Ini, ByteOrderMarksBeforeTheFirstSectionAreDropped) {
  const std::string twice = "\xEF\xBB\xBF\xEF\xBB\xBF[MainTitle]\r\nk=v\r\n";
  const base::IniDocument document = base::IniDocument::parse(twice);
  EXPECT_EQ(document.value("MainTitle", "k"), "v");
  const std::string written = document.serialize();
  EXPECT_EQ(base::IniDocument::parse(written).serialize(), written);
}

TEST(Ini, AWriteThatCannotBeDoneIsReported) {
  TestFolder folder;
  base::IniFile ini(folder / "missing_folder" / "Config.ini");
  EXPECT_THROW(ini.writeString("S", "k", "v"), base::FileError);
}

// The first write that creates Config.ini starts it as a copy of SysConfig.ini,
// after the position load has written the first-run flag into the template.
TEST(ConfigFiles, FirstStartOnTheTemplateKeepsTheEventWhenConfigIsCreated) {
  TestFolder folder;
  const std::string run = gbk("程序运行情况"), first = gbk("首次运行"), awards = gbk("奖项设置");
  folder.write("SysConfig.ini", "[" + run + "]\r\n" + first + "=1\r\n[" + awards + "]\r\n1=" + gbk("1|一等奖|3|3") +
                                    "\r\n[MainTitle]\r\n" + gbk("主标题=幸运大抽奖") + "\r\n");
  base::ConfigFiles files(folder.path());

  // Position load: reads by the fallback rule and clears the flag in the file it opened.
  {
    base::IniFile positions = files.openWithFallback();
    EXPECT_EQ(positions.path().filename(), "SysConfig.ini");
    EXPECT_TRUE(positions.readBool(run, first, false));
    positions.writeBool(run, first, false);
  }
  EXPECT_FALSE(std::filesystem::exists(files.configPath()));

  // Exit save: the first writer creates Config.ini.
  files.openConfig().writeInt(gbk("窗体样式"), gbk("窗体宽"), 1920);

  base::IniFile next = files.openWithFallback();
  EXPECT_EQ(next.path().filename(), "Config.ini");
  EXPECT_EQ(next.readString(awards, "1", ""), gbk("1|一等奖|3|3"));
  EXPECT_EQ(next.readString("MainTitle", gbk("主标题"), ""), gbk("幸运大抽奖"));
  EXPECT_FALSE(next.readBool(run, first, true));
  EXPECT_EQ(next.readInt(gbk("窗体样式"), gbk("窗体宽"), 0), 1920);
  // Readers without the fallback see Config.ini; the template itself is untouched but for the flag.
  EXPECT_EQ(base::IniFile(files.templatePath()).readInt(gbk("窗体样式"), gbk("窗体宽"), 0), 0);
}

TEST(ConfigFiles, NamesMatchWithoutRegardToCase) {
  TestFolder folder;
  folder.write("config.ini", "[S]\r\nk=1\r\n");
  base::ConfigFiles files(folder.path());
  EXPECT_EQ(files.configPath().filename(), "config.ini");
  EXPECT_EQ(files.openWithFallback().readInt("s", "K", 0), 1);
}
