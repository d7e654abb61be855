// Shows one scoring window on a real display for a screenshot, on a demo event
// made in a scratch folder (8 programmes, 6 judges with generated photos):
//   scoring_shots SCENE DIST_DIR
// SCENE: setup (the setup dialog filled), ranking-mid (the ranking display
// during its opening animation), ranking (after it), details (the details
// display with a Max and a Min mark), phones (the phone scoring window with the
// server running on 127.0.0.1 and a judge's QR code), details-phone (the details
// display while a judge's phone sends a score over HTTP after 1.5 seconds).
// With a third argument "crowded": 30 programmes and 20 judges, with long names.
// Quits by itself after six seconds.
#include <QApplication>
#include <QEventLoop>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <future>
#include <random>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "judge_client.h"
#include "platform/font_substitutions.h"
#include "scoring/TComProSys.h"
#include "scoring/TJudgePhones.h"
#include "scoring/TPorShow.h"
#include "scoring/TShowEvery.h"
#include "scoring/core/judge_access.h"
#include "scoring/core/score_submission.h"
#include "scoring/core/scoring_file.h"
#include "scoring/scoring_grid.h"
#include "scoring/web/phone_scoring.h"
#include "screen/window_fit.h"
#include "test_photos.h"

namespace fs = std::filesystem;

namespace {

std::string g(const char* utf8) { return base::utf8ToGbk(utf8); }

void makePhoto(const fs::path& file, int hue) {
  QImage photo(300, 360, QImage::Format_RGB32);
  QPainter painter(&photo);
  painter.fillRect(photo.rect(), QColor::fromHsv(hue, 90, 200));
  painter.setBrush(QColor::fromHsv(hue, 60, 250));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QPoint(150, 130), 70, 85);
  painter.drawRoundedRect(QRect(60, 230, 180, 160), 60, 60);
  painter.end();
  bench_support::writeJpeg(file, photo, 90);
}

fs::path makeEvent(const fs::path& dist, bool crowded) {
  const fs::path dir = fs::temp_directory_path() / ("scoring_shots_" + std::to_string(std::random_device()()));
  fs::create_directories(dir / "data");
  fs::create_directories(dir / "manager");
  fs::create_directories(dir / "image");
  fs::copy_file(dist / "image" / "sample.jpg", dir / "image" / "sample.jpg");
  fs::copy(dist / "backpic", dir / "backpic", fs::copy_options::recursive);

  std::vector<std::string> names = {"开场舞", "大合唱", "相声 说学逗唱", "魔术", "小品 年终总结", "独唱", "器乐合奏", "舞狮"};
  std::vector<std::string> judges = {"王总", "李经理", "张老师", "赵主任", "陈女士", "刘先生"};
  if (crowded) {
    for (int i = 9; i <= 30; ++i) names.push_back("节目" + std::to_string(i) + " 歌伴舞《我们的新时代》");
    for (int j = 7; j <= 20; ++j) judges.push_back("特邀评委欧阳晓明" + std::to_string(j) + "号");
  }
  scoring::ScoringSetup setup;
  for (std::size_t i = 0; i < names.size(); ++i)
    setup.programmes.push_back({std::to_string(i + 1), g(names[i].c_str()), g("市场部")});
  for (const std::string& judge : judges) setup.judges.push_back(g(judge.c_str()));
  setup.dropHighest = setup.dropLowest = true;
  base::IniFile config(dir / "Config.ini");
  scoring::storeSetup(config, setup);
  config.writeString(g("评分展示"), g("副标题"), g("节目得分排名"));
  config.writeString(g("评分展示"), g("柱状颜色"), std::to_string(0 + 256 * 160 + 65536 * 255));
  config.writeString(g("评分展示"), g("得分颜色"), "65535");
  config.writeString(g("评分展示"), g("节目颜色"), "16777215");
  config.writeString(g("评分展示"), g("排名颜色"), "255");
  config.writeString(g("评分展示"), g("得分大小"), "16");
  config.writeString(g("评分展示"), g("节目大小"), "12");
  config.writeString(g("评分展示"), g("排名大小"), "18");
  config.writeString(g("评分展示"), g("背景图片"), g("舞台幕布1.jpg"));
  config.writeString(g("评分细节"), g("背景图片"), g("舞台幕布1.jpg"));
  config.writeString("ScoreProNameTitel", "Left", "560");
  config.writeString("ScoreResult", "Left", "500");
  config.writeString("ScoreResult", "Top", "880");
  config.writeString("ScoreEvSecTitle", "Left", "860");
  config.writeString("ScoreEvSecTitle", "Top", "90");
  config.writeString("ProShowSecTitle", "Left", "830");
  config.writeString("ProShowSecTitle", "Top", "90");
  for (const char* event : {"节目排名展示_check", "节目评分明细_check", "评委打分变动_check"})
    config.writeString(g("音效设置"), g(event), "0");
  for (int j = 0; j < 5; ++j) makePhoto(dir / "manager" / (judges[j] + ".jpg"), j * 60);

  std::string file;
  int entry = 0;
  const char* scores[] = {"9.5", "8", "6", "8.5", "7", "9", "9.2", "8.8", "9.6", "9.1", "8.7", "9"};
  for (const std::string& line :
       base::splitLines(scoring::blankScoringFile(setup.programmes, setup.judges, scoring::FileLayout::ByProgramme))) {
    file += line;
    if (!line.empty() && line.back() == '=') file += entry < 12 ? scores[entry] : std::to_string(6 + entry % 4);
    if (!line.empty() && line.back() == '=') ++entry;
    file += "\r\n";
  }
  base::writeFileAtomically(dir / "data" / "评分文件.txt", file);
  return dir;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  if (argc < 3) {
    std::fprintf(stderr, "usage: scoring_shots SCENE DIST_DIR [crowded]\n");
    return 2;
  }
  const QString scene = QString::fromLocal8Bit(argv[1]);
  const fs::path dir = makeEvent(argv[2], argc > 3 && QString::fromLocal8Bit(argv[3]) == "crowded");
  screen::DialogService dialogs;
  dialogs.setHeadless(true);
  scoring::DisplayContext context;
  context.programDir = dir;
  context.dialogs = &dialogs;
  context.look.mainTitle = g("2026 公司年会");
  context.look.mainTitleFont = {g("黑体"), 36, 65535};
  context.look.subTitleFont = {g("黑体"), 24, 65535};
  context.screen = app.primaryScreen();
  context.area = app.primaryScreen()->geometry();

  int result = 0;
  if (scene == "setup") {
    scoring::TComProSys dialog(dir, dialogs);
    dialog.judgeGrid()->setCurrentCell(0, 0);
    dialog.show();
    QTimer::singleShot(6000, &app, &QApplication::quit);
    result = app.exec();
  } else if (scene == "phones") {
    scoring::web::PhoneScoring phones(dir, nullptr, {QHostAddress(QHostAddress::LocalHost)});
    if (!phones.start(0).isEmpty()) return 2;
    base::IniFile config(dir / "Config.ini");
    scoring::setJudgeLocked(config, g("陈女士"), true);
    scoring::setProgrammeClosed(config, "1", true);
    const std::string token = scoring::readPhoneJudges(config)[1].token;
    auto sent = std::async(std::launch::async, [&] {
      return judge_client::request(phones.port(), "POST", "/j/" + token + "/score", "programme=2&score=9.2");
    });
    scoring::TJudgePhones window(phones, dialogs);
    window.resize(1100, 640);
    screen::fitToScreen(window);
    window.show();
    QTimer::singleShot(1000, &window, &scoring::TJudgePhones::refreshActivity);
    QTimer::singleShot(6000, &app, &QApplication::quit);
    result = app.exec();
  } else if (scene == "details-phone") {
    scoring::web::PhoneScoring phones(dir, nullptr, {QHostAddress(QHostAddress::LocalHost)});
    if (!phones.start(0).isEmpty()) return 2;
    base::IniFile config(dir / "Config.ini");
    const std::vector<scoring::Programme> programmes = scoring::readProgrammes(config);
    scoring::writeJudgeScore(dir / "data" / "评分文件.txt", programmes[0], g("刘先生"), "");
    const std::string token = scoring::readPhoneJudges(config)[5].token;
    scoring::TShowEvery details(context);
    details.Timer1Timer();
    std::future<judge_client::Reply> sent;
    QTimer::singleShot(1500, &app, [&] {
      sent = std::async(std::launch::async, [&] {
        return judge_client::request(phones.port(), "POST", "/j/" + token + "/score", "programme=1&score=9.3");
      });
    });
    dialogs.setNextDisplay([](screen::DisplayStage&) {
      QEventLoop pause;
      QTimer::singleShot(6000, &pause, &QEventLoop::quit);
      pause.exec();
    });
    dialogs.runDisplay(details);
    if (sent.valid()) {
      const judge_client::Reply reply = sent.get();
      std::fprintf(stderr, "phone: %d %s\n", reply.status, reply.body.c_str());
    }
  } else if (scene.startsWith("ranking") || scene == "details") {
    if (scene == "ranking") base::IniFile(dir / "Config.ini").writeString(g("评分展示"), g("动画展示"), "0");
    std::unique_ptr<screen::DisplayStage> display;
    if (scene == "details") {
      auto details = std::make_unique<scoring::TShowEvery>(context);
      details->Timer1Timer();
      display = std::move(details);
    } else {
      display = std::make_unique<scoring::TPorShow>(context);
    }
    // Shown as the program shows it, for six seconds.
    dialogs.setNextDisplay([](screen::DisplayStage&) {
      QEventLoop pause;
      QTimer::singleShot(6000, &pause, &QEventLoop::quit);
      pause.exec();
    });
    dialogs.runDisplay(*display);
  } else {
    std::fprintf(stderr, "unknown scene\n");
    result = 2;
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  return result;
}
