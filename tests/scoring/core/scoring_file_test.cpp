// The blank scoring file byte for byte, the file's location rule, reading by
// the INI rules, and the setup's stored form.
#include "scoring/core/scoring_file.h"

#include <gtest/gtest.h>

#include "scoring/core/scoring_refresh.h"
#include "scoring_fixture.h"

namespace {

using scoring::FileLayout;
using scoring::Programme;
using scoring_testing::gbk;
using scoring_testing::gbkLines;
using scoring_testing::ScoringEvent;

const std::string kRuler(92, '-');

TEST(BlankScoringFile, ByProgrammeAndByJudgeByteForByte) {
  const std::vector<Programme> programmes{{"1", gbk("舞蹈"), ""}, {"2", gbk("合唱"), gbk("一部")}, {"3", "", ""}};
  const std::vector<std::string> judges{gbk("评委甲"), gbk("评委乙"), ""};

  EXPECT_EQ(
      scoring::blankScoringFile(programmes, judges, FileLayout::ByProgramme),
      gbkLines({"注意事项:1. 以下内容除等号后面内容可修改外,其它内容请勿修改,否则会造成数据抓取不到;",
                "         2. 分数请直接填在对应的等号后面,注意必须是数字;",
                "         3. 要展示打分明细，请修改当前节目编号;",
                "         4. 修改完毕请注意保存,保存后数据才会展示在界面中;", kRuler, "", "[评分数据]", "数据格式=0",
                "[当前节目]", "编号=1", "[1.舞蹈]", "评委甲=", "评委乙=", "[2.合唱]", "评委甲=", "评委乙="}));
  EXPECT_EQ(scoring::blankScoringFile(programmes, judges, FileLayout::ByJudge),
            gbkLines({"注意事项:1. 以下内容除等号后面内容可修改外,其它内容请勿修改,否则可能会造成数据抓取不到;",
                      "         2. 分数请直接填在对应的等号后面,注意必须是数字;",
                      "         3. 要展示打分明细，请修改当前节目编号;",
                      "         4. 修改完毕请注意保存,保存后数据才会展示在界面中;", kRuler, "", "[评分数据]",
                      "数据格式=1", "[当前节目]", "编号=1", "[评委甲]", "1=", "2=", "[评委乙]", "1=", "2="}));
  // The third header line carries the full-width comma A3 AC.
  EXPECT_NE(scoring::blankScoringFile(programmes, judges, FileLayout::ByJudge).find("\xA3\xAC"), std::string::npos);
}

TEST(BlankScoringFile, TxtSuffixIsCaseSensitive) {
  EXPECT_EQ(scoring::withTxtSuffix("a.txt"), "a.txt");
  EXPECT_EQ(scoring::withTxtSuffix(gbk("结果.TXT")), gbk("结果.TXT.txt"));
  EXPECT_EQ(scoring::withTxtSuffix(gbk("评分文件")), gbk("评分文件.txt"));
}

TEST(ScoringFileLocation, ConfiguredThenDefaultThenDataFolderThenNothing) {
  ScoringEvent event;
  const auto dir = event.dir();
  EXPECT_EQ(scoring::configuredScoringFile(dir, ""), dir / "data" / "评分文件.txt");
  EXPECT_EQ(scoring::configuredScoringFile(dir, gbk("/nowhere/x.txt")), dir / "data" / "评分文件.txt");
  base::writeFileAtomically(dir / "mine.txt", "x");
  EXPECT_EQ(scoring::configuredScoringFile(dir, (dir / "mine.txt").string()), dir / "mine.txt");
  EXPECT_EQ(scoring::configuredScoringFile(dir, "mine.txt"), dir / "mine.txt");

  // A file that disappeared after the lists were loaded: the same name in "data", else nothing.
  base::writeFileAtomically(dir / "data" / "moved.txt", "x");
  EXPECT_EQ(scoring::readingScoringFile(dir, "/gone/moved.txt"), dir / "data" / "moved.txt");
  EXPECT_EQ(scoring::readingScoringFile(dir, dir / "gone.txt"), std::filesystem::path());
}

TEST(ScoreSheet, ReadsByTheIniRules) {
  // Latin case and blanks around names ignored, the first of two sections and keys read.
  auto sheet =
      scoring::ScoreSheet::parse(gbkLines({"header=9", "[评分数据]", "数据格式=0", "[ 1.Dance ]", " Judge A = 8.5 ",
                                           "judge a=1", "[1.DANCE]", "B=7", "[当前节目]", "编号= 2 "}));
  const Programme dance{"1", "dance", ""};
  EXPECT_EQ(sheet.score(dance, "JUDGE A"), "8.5");
  EXPECT_EQ(sheet.score(dance, "B"), "");
  EXPECT_EQ(sheet.currentNumber(), "2");
  EXPECT_EQ(sheet.layout(), FileLayout::ByProgramme);

  for (const char* layout : {"1", "-1", "7"})
    EXPECT_EQ(scoring::ScoreSheet::parse(std::string("[") + gbk("评分数据") + "]\r\n" + gbk("数据格式") + "=" + layout)
                  .layout(),
              FileLayout::ByJudge);
  for (const char* layout : {"0", "x", ""})
    EXPECT_EQ(scoring::ScoreSheet::parse(std::string("[") + gbk("评分数据") + "]\r\n" + gbk("数据格式") + "=" + layout)
                  .layout(),
              FileLayout::ByProgramme);
}

TEST(ScoreSheet, RenamedProgrammeIsLostByProgrammeAndKeptByJudge) {
  const std::vector<std::string> judges{gbk("甲"), gbk("乙")};
  const Programme renamed{"1", gbk("新舞"), ""};
  auto byProgramme = scoring::ScoreSheet::parse(gbkLines({"[1.舞蹈]", "甲=9", "乙=8"}));
  auto byJudge = scoring::ScoreSheet::parse(gbkLines({"[评分数据]", "数据格式=1", "[甲]", "1=9", "[乙]", "1=8"}));
  EXPECT_EQ(byProgramme.score(renamed, judges[0]), "");
  EXPECT_EQ(byJudge.score(renamed, judges[0]), "9");
  EXPECT_EQ(byJudge.score(renamed, judges[1]), "8");
}

TEST(ScoreSheet, MissingOrHalfSavedFileReadsEmpty) {
  EXPECT_EQ(scoring::ScoreSheet::load({}).score({"1", "a", ""}, "b"), "");
  EXPECT_EQ(scoring::ScoreSheet::load("/no/such/file.txt").currentNumber(), "");
  // Cut in the middle of a key, of a section header and of a two-byte character.
  auto sheet = scoring::ScoreSheet::parse(gbk("[1.a]\r\nb=9\r\n[1.c") + "\xB0");
  EXPECT_EQ(sheet.score({"1", "a", ""}, "b"), "9");
}

TEST(ScoringSetup, StoresNonEmptyRowsUnderConsecutiveKeysAndReadsThemBack) {
  ScoringEvent event;
  base::IniFile config = event.config();
  // Leftovers of an older, longer list must not survive.
  config.writeString(gbk("节目设置"), "5", "5|old|x");
  config.writeString(gbk("评委设置"), "4", "old");
  scoring::ScoringSetup setup;
  setup.programmes = {{"3", gbk("合唱"), gbk("一部")}, {"1", "", ""}, {"2", gbk("相声 小品"), ""}, {"4", "", ""}};
  setup.judges = {gbk("甲"), "", gbk("乙")};
  setup.dropHighest = true;
  setup.layout = FileLayout::ByJudge;
  setup.filePath = gbk("/tmp/分数.txt");
  setup.fullScore = "100";
  scoring::storeSetup(config, setup);

  base::IniFile reread = event.config();
  EXPECT_EQ(reread.readString(gbk("节目设置"), "1", ""), gbk("1|合唱|一部"));
  EXPECT_EQ(reread.readString(gbk("节目设置"), "2", ""), gbk("2|\"相声 小品\"|"));
  EXPECT_FALSE(reread.hasKey(gbk("节目设置"), "3"));
  EXPECT_FALSE(reread.hasKey(gbk("节目设置"), "5"));
  EXPECT_FALSE(reread.hasKey(gbk("评委设置"), "4"));

  scoring::ScoringSetup back = scoring::readSetup(reread);
  EXPECT_EQ(back.programmes, (std::vector<Programme>{{"1", gbk("合唱"), gbk("一部")}, {"2", gbk("相声 小品"), ""}}));
  EXPECT_EQ(back.judges, (std::vector<std::string>{gbk("甲"), gbk("乙")}));
  EXPECT_TRUE(back.dropHighest);
  EXPECT_FALSE(back.dropLowest);
  EXPECT_EQ(back.layout, FileLayout::ByJudge);
  EXPECT_EQ(back.filePath, gbk("/tmp/分数.txt"));
  EXPECT_EQ(back.fullScore, "100");
}

TEST(ScoringSetup, DefaultsFullScoreAndJudgePhotoNames) {
  ScoringEvent event;
  base::IniFile config = event.config();
  scoring::ScoringSetup fresh = scoring::readSetup(config);
  EXPECT_FALSE(fresh.dropHighest);
  EXPECT_EQ(fresh.fullScore, "10");
  EXPECT_TRUE(scoring::readDisplayDropRules(config).highest);

  for (const char* stored : {"0", "", "abc", "-5"}) {
    config.writeString(gbk("节目设置"), gbk("满分"), stored);
    EXPECT_EQ(scoring::readFullScore(config), 10.0) << stored;
  }
  config.writeString(gbk("节目设置"), gbk("满分"), "8");
  EXPECT_EQ(scoring::readFullScore(config), 8.0);

  for (const char* name : {"", "..", "a/b", "a\\b", "..\\x", "a\tb", "\x01"})
    EXPECT_FALSE(scoring::judgePhotoPath(event.dir(), name)) << name;
  EXPECT_EQ(*scoring::judgePhotoPath(event.dir(), gbk("张三")), event.dir() / "manager" / "张三.jpg");
  // A GBK name whose second byte is 0x5C ("\") is a name, not a separator.
  EXPECT_TRUE(scoring::judgePhotoPath(event.dir(), gbk("俓")));
}

TEST(ScoringLists, NamesTheFileCannotHoldAreNamedByTheirCharacter) {
  struct Case {
    std::string name;
    std::string problem;
  } cases[] = {
      {gbk("小品[新]"), "不能含有\"[\""},
      {gbk("王]五"), "不能含有\"]\""},
      {gbk("张=三"), "不能含有\"=\""},
      {gbk(";王"), "不能以\";\"开头"},
      {gbk("王\r\n五"), "不能含有换行"},
      {"\x81", "含有无法保存的字符(不是GB18030编码的文字)"},
      {gbk("王;五"), ""},        // only a leading ";" starts a comment
      {gbk("陈𠀀"), ""},         // four-byte characters are names like any other
      {"\x81\x5B\x81\x5D", ""},  // "[" and "]" as second bytes of GBK characters
  };
  for (const Case& c : cases) EXPECT_EQ(scoring::scoringNameProblem(c.name), c.problem) << c.name;
}

}  // namespace
