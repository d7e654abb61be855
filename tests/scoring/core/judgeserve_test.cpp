// judgeserve over real HTTP on 127.0.0.1: twenty judges scoring at once while
// the operator edits the scoring file by hand; nothing may be lost and the file
// must stay a valid scoring file. Also the answers that only the server gives.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/gbk.h"
#include "base/text_check.h"
#include "base/text_file.h"
#include "judge_client.h"
#include "scoring/core/score_submission.h"
#include "scoring/core/scoring_file.h"
#include "scoring_fixture.h"

namespace {

using scoring_testing::gbk;
using scoring_testing::ScoringEvent;

constexpr int kJudges = 20;
constexpr int kProgrammes = 6;

std::string judgeName(int j) { return "评委" + std::to_string(j + 1); }
std::string scoreOf(int j, int p, int round) { return std::to_string((j + p + round) % 10) + ".5"; }

struct ServedEvent {
  ServedEvent() {
    std::vector<std::pair<std::string, std::string>> programmes;
    for (int p = 0; p < kProgrammes; ++p) programmes.push_back({"节目" + std::to_string(p + 1), ""});
    std::vector<std::string> judges;
    for (int j = 0; j < kJudges; ++j) judges.push_back(judgeName(j));
    event.lists(programmes, judges);
    base::IniFile config = event.config();
    base::writeFileAtomically(file,
                              scoring::blankScoringFile(scoring::readProgrammes(config), scoring::readJudges(config),
                                                        scoring::FileLayout::ByProgramme));
  }
  ScoringEvent event;
  std::filesystem::path file = scoring::defaultScoringFile(event.dir());
};

TEST(Judgeserve, TwentyJudgesAndAHandEditorLoseNothing) {
  ServedEvent served;
  judge_client::Server server(JUDGESERVE_PATH, served.event.dir(), JUDGE_PAGE, kJudges);
  ASSERT_NE(server.port(), 0);
  ASSERT_EQ(server.tokens().size(), static_cast<std::size_t>(kJudges));

  // The operator's editor: takes the folder lock as this program's writers do,
  // changes the current programme and a note of its own, saves by rename.
  std::atomic<bool> judging{true};
  std::atomic<int> lastEdit{0};
  std::thread editor([&] {
    for (int edit = 1; judging && edit < 2000; ++edit) {
      {
        scoring::ScoringFolderLock lock(served.file);
        base::IniDocument document = base::IniDocument::parse(base::readFile(served.file));
        document.setValue(gbk("当前节目"), gbk("编号"), std::to_string(edit));
        document.setValue(gbk("操作员"), gbk("备注"), std::to_string(edit));
        base::writeFileAtomically(served.file, document.serialize());
      }
      lastEdit = edit;
      std::this_thread::sleep_for(std::chrono::milliseconds(7));
    }
  });

  std::atomic<int> failures{0};
  std::vector<std::thread> phones;
  for (int j = 0; j < kJudges; ++j) {
    phones.emplace_back([&, j] {
      const std::string path = "/j/" + server.tokens().at(judgeName(j)) + "/score";
      for (int round = 0; round < 2; ++round)
        for (int p = 0; p < kProgrammes; ++p) {
          // Ten requests a second at most per judge: one every 120 ms stays under it.
          std::this_thread::sleep_for(std::chrono::milliseconds(120));
          auto reply = judge_client::request(server.port(), "POST", path,
                                             "programme=" + std::to_string(p + 1) + "&score=" + scoreOf(j, p, round));
          if (reply.status != 200) ++failures;
        }
    });
  }
  for (auto& phone : phones) phone.join();
  judging = false;
  editor.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(server.stop(), 0);

  const std::string bytes = base::readFile(served.file);
  EXPECT_EQ(base::findTextProblem(bytes), base::TextProblem::None);
  EXPECT_EQ(bytes.substr(0, 200), scoring::blankScoringFile({}, {}, scoring::FileLayout::ByProgramme).substr(0, 200));
  scoring::ScoreSheet sheet = scoring::ScoreSheet::parse(bytes);
  EXPECT_EQ(sheet.currentNumber(), std::to_string(lastEdit.load()));
  EXPECT_EQ(sheet.text(gbk("操作员"), gbk("备注")), std::to_string(lastEdit.load()));
  for (int p = 0; p < kProgrammes; ++p)
    for (int j = 0; j < kJudges; ++j)
      EXPECT_EQ(sheet.score({std::to_string(p + 1), gbk("节目" + std::to_string(p + 1)), ""}, gbk(judgeName(j))),
                scoreOf(j, p, 1))
          << judgeName(j) << " programme " << p + 1;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(served.file.parent_path()), {}), 1)
      << "a temporary file was left behind";
}

TEST(Judgeserve, AnswersOverHttpAndRefusesPathsAndMethodsItDoesNotServe) {
  ServedEvent served;
  judge_client::Server server(JUDGESERVE_PATH, served.event.dir(), JUDGE_PAGE, kJudges);
  ASSERT_NE(server.port(), 0);
  const std::string token = server.tokens().at(judgeName(0));
  struct Case {
    std::string method, path, body;
    int status;
  };
  const std::vector<Case> cases = {
      {"GET", "/j/" + token, "", 200},
      {"GET", "/j/" + token + "/state", "", 200},
      {"POST", "/j/" + token + "/score", "programme=1&score=7", 200},
      {"POST", "/j/" + token + "/score", "programme=9&score=7", 400},
      {"POST", "/j/" + std::string(32, 'a') + "/score", "programme=1&score=7", 403},
      {"POST", "/j/" + token + "/score", "programme=1&score=7&x=" + std::string(5000, 'x'), 413},
      {"GET", "/j/" + token + "/%2e%2e/%2e%2e/Config.ini", "", 404},
      {"GET", "/j/" + token + "/../../Config.ini", "", 404},
      {"GET", "/", "", 404},
      {"GET", "/data/", "", 404},
      {"DELETE", "/j/" + token, "", 405},
  };
  for (const Case& c : cases) {
    std::this_thread::sleep_for(std::chrono::milliseconds(110));
    EXPECT_EQ(judge_client::request(server.port(), c.method, c.path, c.body).status, c.status)
        << c.method << " " << c.path;
  }
  // The page is the shipped page; nothing else of the event folder leaves the machine.
  auto page = judge_client::request(server.port(), "GET", "/j/" + token);
  EXPECT_NE(page.body.find("评委打分"), std::string::npos);
  int refused = 0;
  for (int i = 0; i < 15; ++i)
    if (judge_client::request(server.port(), "GET", "/j/" + token + "/state").status == 429) ++refused;
  EXPECT_GE(refused, 4);
}

}  // namespace
