// The judges' API request by request: status codes, what lands in the scoring
// file and what does not, tokens, locks, closed programmes and the rate limit.
#include "scoring/core/judge_api.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>

#include "base/text_file.h"
#include "scoring/core/judge_access.h"
#include "scoring/core/score_submission.h"
#include "scoring/core/scoring_file.h"
#include "scoring_fixture.h"

namespace {

using scoring_testing::gbk;
using scoring_testing::ScoringEvent;

struct PhoneEvent {
  PhoneEvent() {
    event.lists({{"舞蹈", "一组"}, {"合唱", "二组"}}, {"评委甲", "评委乙"});
    base::IniFile config = event.config();
    base::writeFileAtomically(scoring::defaultScoringFile(event.dir()),
                              scoring::blankScoringFile(scoring::readProgrammes(config), scoring::readJudges(config),
                                                        scoring::FileLayout::ByProgramme));
    base::writeFileAtomically(event.dir() / "judge.html", "<html>page</html>");
    scoring::ensureJudgeTokens(config);
    for (const auto& judge : scoring::readPhoneJudges(config)) tokens.push_back(judge.token);
  }
  scoring::ScoreSheet sheet() const { return scoring::ScoreSheet::load(scoring::defaultScoringFile(event.dir())); }
  std::string score(const std::string& order, const std::string& name, const std::string& judge) const {
    return sheet().score({order, gbk(name), ""}, gbk(judge));
  }
  scoring::HttpReply send(std::string_view method, const std::string& path, std::string_view body = {},
                          std::string_view type = "application/x-www-form-urlencoded") {
    now += 200;  // five requests a second: under the limit unless a test says otherwise
    return api.handle(method, path, type, body, "192.168.1.20", now, "20:15:03");
  }

  ScoringEvent event;
  std::vector<std::string> tokens;
  scoring::JudgeApi api{event.dir(), event.dir() / "judge.html"};
  std::int64_t now = 0;
};

TEST(JudgeApi, AnswersEachRequestWithItsStatusAndStoresOnlyGoodScores) {
  struct Case {
    const char* what;
    const char* method;
    std::string path;  // "T" stands for the first judge's token
    std::string type;
    std::string body;
    int status;
    std::string stored;  // 评委甲's entry for 舞蹈 afterwards
  };
  const std::string form = "application/x-www-form-urlencoded";
  const std::string json = "application/json";
  const std::vector<Case> cases = {
      {"form score", "POST", "/j/T/score", form, "programme=1&score=8.5", 200, "8.5"},
      {"JSON number", "POST", "/j/T/score", json, R"({"programme":"1","score":9})", 200, "9"},
      {"JSON string, blanks", "POST", "/j/T/score", json, R"({ "score" : " 7.0 ", "programme" : 1 })", 200, "7"},
      {"full score", "POST", "/j/T/score", form, "programme=1&score=10", 200, "10"},
      {"zero", "POST", "/j/T/score", form, "programme=1&score=0", 200, "0"},
      {"above full", "POST", "/j/T/score", form, "programme=1&score=10.1", 400, "0"},
      {"negative", "POST", "/j/T/score", form, "programme=1&score=-1", 400, "0"},
      {"comma decimal", "POST", "/j/T/score", form, "programme=1&score=8%2C5", 400, "0"},
      {"off the step", "POST", "/j/T/score", form, "programme=1&score=8.55", 400, "0"},
      {"exponent", "POST", "/j/T/score", form, "programme=1&score=1e1", 400, "0"},
      {"not a number", "POST", "/j/T/score", form, "programme=1&score=abc", 400, "0"},
      {"line break injected", "POST", "/j/T/score", form, "programme=1&score=8%0D%0A%5Bx%5D", 400, "0"},
      {"no score", "POST", "/j/T/score", form, "programme=1", 400, "0"},
      {"unknown programme", "POST", "/j/T/score", form, "programme=3&score=8", 400, "0"},
      {"broken JSON", "POST", "/j/T/score", json, R"({"programme":1,"score":)", 400, "0"},
      {"wrong token", "POST", "/j/0123456789abcdef0123456789abcdef/score", form, "programme=1&score=5", 403, "0"},
      {"short token", "POST", "/j/abc/score", form, "programme=1&score=5", 403, "0"},
      {"oversized body", "POST", "/j/T/score", form, "programme=1&score=5&pad=" + std::string(4096, 'x'), 413, "0"},
      {"GET on score", "GET", "/j/T/score", form, "", 405, "0"},
      {"path with ..", "GET", "/j/T/../../Config.ini", form, "", 404, "0"},
      {"encoded-free other file", "GET", "/Config.ini", form, "", 404, "0"},
      {"directory", "GET", "/", form, "", 404, "0"},
      {"unknown action", "GET", "/j/T/files", form, "", 404, "0"},
  };
  PhoneEvent phone;
  for (const Case& c : cases) {
    std::string path = c.path;
    if (auto at = path.find("/T"); at != std::string::npos) path.replace(at + 1, 1, phone.tokens[0]);
    // Each case starts from 0 so that a refused request visibly leaves the entry alone.
    ASSERT_EQ(phone.send("POST", "/j/" + phone.tokens[0] + "/score", "programme=1&score=0").status, 200);
    scoring::HttpReply reply = phone.send(c.method, path, c.body, c.type);
    EXPECT_EQ(reply.status, c.status) << c.what << ": " << reply.body;
    EXPECT_EQ(phone.score("1", "舞蹈", "评委甲"), c.stored) << c.what;
    EXPECT_EQ(phone.score("1", "舞蹈", "评委乙"), "") << c.what;
  }
}

TEST(JudgeApi, ServesThePageAndStateOnlyWithAValidToken) {
  PhoneEvent phone;
  EXPECT_EQ(phone.send("GET", "/j/" + phone.tokens[0]).body, "<html>page</html>");
  EXPECT_EQ(phone.send("GET", "/j/" + phone.tokens[1] + "?x=1").status, 200);
  scoring::HttpReply wrong = phone.send("GET", "/j/ffffffffffffffffffffffffffffffff");
  EXPECT_EQ(wrong.status, 403);
  EXPECT_EQ(wrong.body.find("page"), std::string::npos);

  ASSERT_EQ(phone.send("POST", "/j/" + phone.tokens[1] + "/score", "programme=2&score=9.5").status, 200);
  scoring::HttpReply state = phone.send("GET", "/j/" + phone.tokens[1] + "/state");
  ASSERT_EQ(state.status, 200);
  EXPECT_NE(state.body.find(R"("judge":"评委乙")"), std::string::npos) << state.body;
  EXPECT_NE(state.body.find(R"("fullScore":10)"), std::string::npos) << state.body;
  EXPECT_NE(state.body.find(R"("current":"1")"), std::string::npos) << state.body;
  EXPECT_NE(state.body.find(R"({"order":"2","name":"合唱","performer":"二组","score":"9.5","closed":false})"),
            std::string::npos)
      << state.body;
  // The other judge's state shows only that judge's own scores.
  EXPECT_EQ(phone.send("GET", "/j/" + phone.tokens[0] + "/state").body.find("9.5"), std::string::npos);
}

// A judge's link cut short or run on (a message app that broke the link, a
// guess from a known token) is refused exactly as a wrong token is, for the
// page, the state and a score alike, and stores nothing.
TEST(JudgeApi, ATokenCutShortOrLengthenedIsRefusedLikeAWrongOne) {
  PhoneEvent phone;
  const std::string& token = phone.tokens[0];
  const scoring::HttpReply wrong = phone.send("GET", "/j/ffffffffffffffffffffffffffffffff/state");
  ASSERT_EQ(wrong.status, 403);
  const std::pair<const char*, std::string> tokens[] = {
      {"one character", token.substr(0, 1)},
      {"31 characters", token.substr(0, 31)},
      {"33 characters", token + "0"},
      {"the token and a suffix", token + "-old"},
  };
  for (const auto& [what, cut] : tokens) {
    for (const std::string action : {"", "/state"}) {
      const scoring::HttpReply reply = phone.send("GET", "/j/" + cut + action);
      EXPECT_EQ(reply.status, wrong.status) << what << action;
      EXPECT_EQ(reply.body, wrong.body) << what << action;
    }
    const scoring::HttpReply score = phone.send("POST", "/j/" + cut + "/score", "programme=1&score=8");
    EXPECT_EQ(score.status, wrong.status) << what;
    EXPECT_EQ(score.body, wrong.body) << what;
    EXPECT_EQ(phone.score("1", "舞蹈", "评委甲"), "") << what;
  }
  EXPECT_EQ(phone.send("GET", "/j/" + token + "/state").status, 200);
}

TEST(JudgeApi, LockedJudgesRenewedTokensAndClosedProgrammesAreRefused) {
  PhoneEvent phone;
  base::IniFile config = phone.event.config();
  scoring::setJudgeLocked(config, gbk("评委甲"), true);
  EXPECT_EQ(phone.send("POST", "/j/" + phone.tokens[0] + "/score", "programme=1&score=8").status, 403);
  scoring::setJudgeLocked(config, gbk("评委甲"), false);
  EXPECT_EQ(phone.send("POST", "/j/" + phone.tokens[0] + "/score", "programme=1&score=8").status, 200);

  scoring::setProgrammeClosed(config, "2", true);
  scoring::HttpReply closed = phone.send("POST", "/j/" + phone.tokens[0] + "/score", "programme=2&score=8");
  EXPECT_EQ(closed.status, 409);
  EXPECT_NE(closed.body.find("合唱"), std::string::npos);
  EXPECT_EQ(phone.score("2", "合唱", "评委甲"), "");

  const std::string renewed = scoring::renewJudgeToken(config, gbk("评委甲"));
  EXPECT_EQ(renewed.size(), 32u);
  EXPECT_EQ(phone.send("GET", "/j/" + phone.tokens[0] + "/state").status, 403);
  EXPECT_EQ(phone.send("GET", "/j/" + renewed + "/state").status, 200);
  EXPECT_EQ(phone.api.activity().at(gbk("评委甲")).address, "192.168.1.20");
}

TEST(JudgeApi, MoreThanTenRequestsOfOneTokenInASecondGet429) {
  PhoneEvent phone;
  const std::string state = "/j/" + phone.tokens[0] + "/state";
  for (int i = 0; i < 10; ++i) EXPECT_EQ(phone.api.handle("GET", state, "", "", "a", 1000 + i, "").status, 200) << i;
  EXPECT_EQ(phone.api.handle("GET", state, "", "", "a", 1500, "").status, 429);
  // Another judge is not slowed by the first one; a second later the first may send again.
  EXPECT_EQ(phone.api.handle("GET", "/j/" + phone.tokens[1] + "/state", "", "", "b", 1500, "").status, 200);
  EXPECT_EQ(phone.api.handle("GET", state, "", "", "a", 2001, "").status, 200);
}

TEST(ScoreSubmission, ChangesOnlyTheJudgesKeyInEitherLayoutAndKeepsEveryOtherByte) {
  for (auto layout : {scoring::FileLayout::ByProgramme, scoring::FileLayout::ByJudge}) {
    ScoringEvent event;
    event.lists({{"舞蹈", ""}, {"合唱", ""}}, {"评委甲", "评委乙"});
    base::IniFile config = event.config();
    std::string blank = scoring::blankScoringFile(scoring::readProgrammes(config), scoring::readJudges(config), layout);
    // The operator's hand-typed score and a note line of their own stay as typed.
    const std::string byHand = layout == scoring::FileLayout::ByJudge ? gbk("2= 8.5 ") : gbk("评委乙= 8.5 ");
    const std::string handKey = layout == scoring::FileLayout::ByJudge ? gbk("2=") : gbk("评委乙=");
    std::size_t at = blank.rfind(handKey);
    blank.replace(at, handKey.size(), byHand);
    blank += gbk("; 手写备注") + "\r\n";
    const auto file = scoring::defaultScoringFile(event.dir());
    base::writeFileAtomically(file, blank);

    scoring::writeJudgeScore(file, {"1", gbk("舞蹈"), ""}, gbk("评委甲"), "9.5");
    const std::string after = base::readFile(file);
    const std::string key = layout == scoring::FileLayout::ByJudge ? "1=" : gbk("评委甲=");
    std::string expected = blank;
    expected.insert(expected.find(key) + key.size(), "9.5");
    EXPECT_EQ(after, expected);
  }
}

TEST(ScoreSubmission, RefusesAMissingOrNonGbkFileWithoutTouchingIt) {
  ScoringEvent event;
  const auto file = scoring::defaultScoringFile(event.dir());
  EXPECT_THROW(scoring::writeJudgeScore(file, {"1", "a", ""}, "b", "1"), scoring::ScoringFileProblem);
  EXPECT_FALSE(std::filesystem::exists(file));
  const std::string utf8 = "[1.舞蹈]\r\n评委甲=\r\n评委乙=\r\n";  // saved as UTF-8 by an editor
  base::writeFileAtomically(file, utf8);
  EXPECT_THROW(scoring::writeJudgeScore(file, {"1", "a", ""}, "b", "1"), scoring::ScoringFileProblem);
  EXPECT_EQ(base::readFile(file), utf8);
}

TEST(ScoreSubmission, ReplaceIfUnchangedLeavesAFileChangedMeanwhile) {
  ScoringEvent event;
  const auto file = event.dir() / "x.txt";
  base::writeFileAtomically(file, "new by hand");
  EXPECT_FALSE(base::replaceFileIfUnchanged(file, "ours", std::string("old")));
  EXPECT_EQ(base::readFile(file), "new by hand");
  EXPECT_TRUE(base::replaceFileIfUnchanged(file, "ours", std::string("new by hand")));
  EXPECT_EQ(base::readFile(file), "ours");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(event.dir()), {}), 2);  // no temporary left
}

// Another writer that takes no lock (an editor's save, a sync tool): between the
// phone scorer's read and its rename it replaces the scoring file by a rename of
// its own, adding a note line, on the rounds `interferes` picks (counted by the
// scorer's syncs of its new file). The syncs themselves are skipped: hundreds
// of them would only cost time.
class RivalWriter : public base::DurabilityCalls {
 public:
  RivalWriter(std::filesystem::path file, std::function<bool(int round)> interferes)
      : file_(std::move(file)), interferes_(std::move(interferes)) {
    base::setDurabilityCalls(this);
  }
  ~RivalWriter() override { base::setDurabilityCalls(nullptr); }
  int fsync(int fd) override {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && interferes_(rounds_++)) replace();
    return 0;
  }
  int renames = 0;

 private:
  void replace() {
    const std::string bytes = base::readFile(file_) + "; rival " + std::to_string(++renames) + "\r\n";
    const std::string temporary = file_.string() + ".rival";
    std::ofstream(temporary, std::ios::binary) << bytes;
    ASSERT_EQ(::rename(temporary.c_str(), file_.c_str()), 0);
  }
  std::filesystem::path file_;
  std::function<bool(int)> interferes_;
  int rounds_ = 0;
};

// The phone scorer under a rival that renames without the lock: each score is
// made again on the rival's newer file, so all 300 scores land and every change
// of the rival stays. A rival that never stops wins: the score is refused with
// the scorer's message and the file is left as the rival made it.
TEST(ScoreSubmission, ARivalWriterWithoutTheLockMakesItRetryAndLosesNothing) {
  ScoringEvent event;
  std::vector<std::pair<std::string, std::string>> programmes;
  std::vector<std::string> judges;
  for (int p = 1; p <= 30; ++p) programmes.emplace_back("节目" + std::to_string(p), "");
  for (int j = 1; j <= 10; ++j) judges.push_back("评委" + std::to_string(j));
  event.lists(programmes, judges);
  base::IniFile config = event.config();
  const auto file = scoring::defaultScoringFile(event.dir());
  base::writeFileAtomically(file,
                            scoring::blankScoringFile(scoring::readProgrammes(config), scoring::readJudges(config),
                                                      scoring::FileLayout::ByProgramme));
  auto programme = [](int p) { return scoring::Programme{std::to_string(p), gbk("节目" + std::to_string(p)), ""}; };
  auto scoreOf = [](int p, int j) { return std::to_string(j) + "." + std::to_string(p % 10); };
  {
    RivalWriter rival(file, [](int round) { return round % 2 == 0; });  // the first round of every score
    for (int p = 1; p <= 30; ++p)
      for (int j = 1; j <= 10; ++j)
        scoring::writeJudgeScore(file, programme(p), gbk("评委" + std::to_string(j)), scoreOf(p, j));
    EXPECT_EQ(rival.renames, 300);
  }
  const scoring::ScoreSheet sheet = scoring::ScoreSheet::load(file);
  int stored = 0;
  for (int p = 1; p <= 30; ++p)
    for (int j = 1; j <= 10; ++j) stored += sheet.score(programme(p), gbk("评委" + std::to_string(j))) == scoreOf(p, j);
  EXPECT_EQ(stored, 300);
  const std::string bytes = base::readFile(file);
  int kept = 0;
  for (int r = 1; r <= 300; ++r) kept += bytes.find("; rival " + std::to_string(r) + "\r\n") != std::string::npos;
  EXPECT_EQ(kept, 300);

  RivalWriter endless(file, [](int) { return true; });
  try {
    scoring::writeJudgeScore(file, programme(1), gbk("评委1"), "0.5");
    ADD_FAILURE() << "a score was stored against a rival that never stops";
  } catch (const scoring::ScoringFileProblem& problem) {
    EXPECT_STREQ(problem.what(), "评分文件正被不停地改写,分数没有写入,请稍后再提交。");
  }
  EXPECT_EQ(scoring::ScoreSheet::load(file).score(programme(1), gbk("评委1")), scoreOf(1, 1));
  EXPECT_TRUE(base::readFile(file).ends_with("; rival " + std::to_string(endless.renames) + "\r\n"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1)
      << "a temporary file was left";
}

TEST(JudgeTokens, AreLongRandomAndKeptUntilRenewed) {
  ScoringEvent event;
  event.lists({{"舞蹈", ""}}, {"评委甲", "评委乙"});
  base::IniFile config = event.config();
  scoring::ensureJudgeTokens(config);
  auto judges = scoring::readPhoneJudges(config);
  ASSERT_EQ(judges.size(), 2u);
  EXPECT_NE(judges[0].token, judges[1].token);
  scoring::ensureJudgeTokens(config);
  EXPECT_EQ(scoring::readPhoneJudges(config)[0].token, judges[0].token);
  EXPECT_EQ(scoring::judgeByToken(judges, judges[1].token)->name, gbk("评委乙"));
  EXPECT_FALSE(scoring::judgeByToken(judges, ""));
  std::string upper = judges[1].token;
  for (char& c : upper) c = static_cast<char>(std::toupper(c));
  if (upper != judges[1].token) {
    EXPECT_FALSE(scoring::judgeByToken(judges, upper));
  }
}

}  // namespace
