// The window and the headless driver run one start-up: over the same damaged
// events they tell the operator the same things in the same order, block the
// same draws, show the same hint and winners, and leave the same files.
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <functional>

#include "app/TForm1.h"
#include "base/gbk.h"
#include "draw/batch_note.h"
#include "draw/event_fixture.h"
#include "draw/headless_view.h"
#include "draw/startup.h"
#include "screen/dialog_service.h"
#include "styledtext/TSmoothLabel.h"
#include "window_test_setup.h"

using draw_testing::EventFixture;
using testing_support::gbk;

namespace fs = std::filesystem;

namespace {

struct Damage {
  const char* name;
  std::function<void(EventFixture&)> apply;
};

void writeEvent(EventFixture& event) {
  auto config = EventFixture::awardLines({{"一等奖", 3, 3}, {"二等奖", 5, 5}});
  config.insert(config.end(), {"[界面设置]", "分组显示名单=0", "重复中奖=0", "[音效设置]", "背景音乐_check=0",
                               "抽奖开始_check=0", "抽奖停止_check=0", "[窗体样式]", "抽奖模式=1"});
  event.config(config);
  event.roster(EventFixture::numberedNames(12));
}

// A record of roster serial `serial` for award 1, as the draw writes it.
std::string record(int serial) {
  const std::string name = gbk("人") + std::to_string(serial);
  return std::to_string(serial) + "|" + name + "|" + name + "|" + gbk("一等奖") + "|1\r\n";
}

// What a start-up leaves of the event: every file's bytes, a kept copy by its kind.
std::map<std::string, std::string> files(const fs::path& folder) {
  std::map<std::string, std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::string name = entry.path().filename().string();
    if (name.rfind(".kelvara", 0) == 0) continue;
    const auto damaged = name.find(".damaged-");
    if (damaged != std::string::npos) {
      found[name.substr(0, damaged) + ".damaged"] += "copy;";
      continue;
    }
    found[name] = base::readFileIfExists(entry.path()).value_or("?");
  }
  return found;
}

// What was put to the operator, with the event's folder named alike.
QStringList withFolderNamed(QStringList lines, const fs::path& folder) {
  lines.replaceInStrings(QString::fromStdString(folder.string()), QStringLiteral("EVENT"));
  return lines;
}

QStringList headlessTranscript(const draw::HeadlessView& view, const fs::path& folder) {
  QStringList lines;
  for (const auto& event : view.transcript) {
    const QString text = QString::fromStdString(base::gbkToUtf8(event.text));
    lines << (event.kind == draw::HeadlessView::Event::Kind::Question ? QStringLiteral("question: ") + text
                                                                      : QStringLiteral("message: ") + text);
  }
  return withFolderNamed(lines, folder);
}

}  // namespace

class OneStartupTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void theWindowAndTheHeadlessDriverStartAlike_data() {
    QTest::addColumn<int>("index");
    const auto& cases = damages();
    for (std::size_t i = 0; i < cases.size(); ++i) QTest::newRow(cases[i].name) << static_cast<int>(i);
  }

  void theWindowAndTheHeadlessDriverStartAlike() {
    QFETCH(int, index);
    const Damage& damage = damages()[static_cast<std::size_t>(index)];
    EventFixture windowEvent;
    EventFixture headlessEvent;
    for (EventFixture* event : {&windowEvent, &headlessEvent}) {
      writeEvent(*event);
      damage.apply(*event);
    }

    TForm1 window(windowEvent.dir().path(), nullptr, QSize(1280, 720));
    draw::DrawData data;
    draw::HeadlessView view;
    draw::Luck luck(data, headlessEvent.folder(), view);
    const draw::StartupResult result = draw::startUp(data, headlessEvent.folder(), view, luck);

    QCOMPARE(withFolderNamed(window.dialogs().log(), windowEvent.dir().path()),
             headlessTranscript(view, headlessEvent.dir().path()));
    QCOMPARE(window.startupDeclined(), result == draw::StartupResult::Declined);
    QCOMPARE(
        withFolderNamed({QString::fromStdString(base::gbkToUtf8(window.drawData().state.drawBlocked))},
                        windowEvent.dir().path()),
        withFolderNamed({QString::fromStdString(base::gbkToUtf8(data.state.drawBlocked))}, headlessEvent.dir().path()));
    if (result == draw::StartupResult::Declined) return;
    QCOMPARE(window.label(screen::Label::ActionHint)->Caption(),
             QString::fromStdString(base::gbkToUtf8(view.fieldText[draw::Field::ActionHint])));
    QCOMPARE(window.startButton()->text(), QString::fromStdString(base::gbkToUtf8(view.startCaption)));
    QCOMPARE(window.drawData().state.currentAward, data.state.currentAward);
    QStringList shown;
    for (const std::string& text : view.visibleFrameTexts()) shown << QString::fromStdString(base::gbkToUtf8(text));
    QCOMPARE(window.visibleFrameTexts(), shown);
    QCOMPARE(files(windowEvent.dir().path()), files(headlessEvent.dir().path()));
  }

 private:
  static const std::vector<Damage>& damages() {
    static const std::vector<Damage> cases = {
        {"a whole event", [](EventFixture&) {}},
        {"a record cut off by a power cut",
         [](EventFixture& e) { e.dir().write("LuckName.txt", record(1) + record(2).substr(0, 9)); }},
        {"a garbled record",
         [](EventFixture& e) { e.dir().write("LuckName.txt", record(1) + "3|\xe4\xb8\x80|x|y|1\r\n"); }},
        {"two records in one line",
         [](EventFixture& e) { e.dir().write("LuckName.txt", "1|a|a|x|2\r\n2|b|3|c|c|x|2\r\n"); }},
        {"a second record of one person",
         [](EventFixture& e) { e.dir().write("LuckName.txt", record(4) + record(4)); }},
        {"no roster", [](EventFixture& e) { fs::remove(e.dir() / "NameList.txt"); }},
        {"settings that are not the program's",
         [](EventFixture& e) { e.dir().write("Config.ini", "\xef\xbb\xbfjunk\x01\x02"); }},
        {"a batch a kill cut short",
         [](EventFixture& e) {
           e.dir().write("LuckName.txt", record(2) + record(5));
           std::string first = record(2), second = record(5), third = record(7);
           for (std::string* line : {&first, &second, &third}) line->resize(line->size() - 2);
           draw::noteBatch(e.folder(), 0, {first, second, third});
         }},
        {"a damaged place count",
         [](EventFixture& e) {
           auto config = EventFixture::awardLines({{"一等奖", 3, 3}});
           config.push_back("2=2|二等奖|x|5||奖品||");
           e.config(config);
         }},
    };
    return cases;
  }
};

QTEST_MAIN(OneStartupTest)
#include "one_startup_test.moc"
