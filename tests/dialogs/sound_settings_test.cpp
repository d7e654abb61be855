// The sound settings dialog, menu N12 and the sound-card question's Yes.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "base/ini_file.h"
#include "dialog_testing.h"
#include "dialogs/TMusicSet.h"
#include "draw/sound_board.h"
#include "screen/main_menu.h"
#include "window_test_setup.h"

using dialog_testing::whenOpened;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

QComboBox* field(TMusicSet& dialog, int event) {
  return dialog.findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(event));
}
QCheckBox* checkBox(TMusicSet& dialog, int event) {
  return dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(event));
}
QStringList choices(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

// A music folder of files in every accepted form and some that are not sounds,
// and settings that name one file that is not there.
void writeSounds(const TestFolder& folder) {
  std::filesystem::create_directories(folder / "music");
  for (const char* name : {"b.wav", "a.WAV", "曲.mid", "z.mp3", "y.wma", "notes.txt", "坏.wav"})
    folder.write(std::string("music/") + name, "not really a sound");
  folder.write("Config.ini", gbk("[音效设置]\r\n背景音乐=z.mp3\r\n背景音乐_check=1\r\n抽奖开始=丢失.wav\r\n"
                                 "抽奖开始_check=0\r\n"));
}

}  // namespace

class SoundSettingsTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void opensWithTheMusicFolderAndTheStoredSettings() {
    TestFolder folder;
    writeSounds(folder);
    screen::SoundPlayers players;
    screen::DialogService dialogs;
    TMusicSet dialog(folder.path(), players, dialogs);
    for (int event = 1; event <= 7; ++event)
      QCOMPARE(choices(field(dialog, event)), QStringList({"z.mp3", "y.wma", "a.WAV", "b.wav", "坏.wav", "曲.mid"}));
    QCOMPARE(field(dialog, 1)->currentText(), QStringLiteral("z.mp3"));
    QCOMPARE(field(dialog, 2)->currentText(), QStringLiteral("丢失.wav"));  // shown though missing
    QVERIFY(checkBox(dialog, 1)->isChecked());
    QVERIFY(!checkBox(dialog, 2)->isChecked());
    QVERIFY(!checkBox(dialog, 3)->isChecked());  // an absent switch shows as off

    // Preview plays with the box off; a missing file is named, a file that is no
    // sound stays silent and nothing waits for it.
    dialog.findChild<QToolButton*>(QStringLiteral("ToolButton1"))->click();
    QCOMPARE(dialogs.log(), QStringList{QStringLiteral("message: 找不到丢失.wav")});
    field(dialog, 3)->setEditText(QStringLiteral("坏.wav"));
    dialog.findChild<QToolButton*>(QStringLiteral("ToolButton3"))->click();
    QCOMPARE(dialogs.log().size(), 1);
    QVERIFY(!players.repeat());

    // The link opens our page of background music.
    QUrl opened;
    dialog.openUrl = [&opened](const QUrl& url) {
      opened = url;
      return true;
    };
    QTest::mouseClick(dialog.findChild<QLabel*>(QStringLiteral("Label1")), Qt::LeftButton);
    QCOMPARE(opened, QUrl::fromLocalFile(QString::fromStdString(dialog.downloadPage().string())));
    QVERIFY(std::filesystem::is_regular_file(std::filesystem::path(KV_DIST_DIR) / "web" / "music.html"));
  }

  void okWritesEverySettingAndCancelWritesNothing() {
    TestFolder folder;
    writeSounds(folder);
    screen::SoundPlayers players;
    screen::DialogService dialogs;
    const std::string before = folder.read("Config.ini");
    {
      TMusicSet dialog(folder.path(), players, dialogs);
      field(dialog, 4)->setEditText(QStringLiteral("曲.mid"));
      checkBox(dialog, 4)->setChecked(true);
      dialog.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
      QVERIFY(!players.isPlaying());
    }
    QCOMPARE(folder.read("Config.ini"), before);

    TMusicSet dialog(folder.path(), players, dialogs);
    field(dialog, 4)->setEditText(QStringLiteral("曲.mid"));
    checkBox(dialog, 4)->setChecked(true);
    checkBox(dialog, 1)->setChecked(false);
    dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    draw::SoundBoard board;
    board.load(draw::EventFolder(folder.path()));
    QCOMPARE(board.setting(draw::SoundEvent::WinnersDisplay).file, gbk("曲.mid"));
    QVERIFY(board.setting(draw::SoundEvent::WinnersDisplay).on);
    QVERIFY(!board.setting(draw::SoundEvent::BackgroundMusic).on);
    QCOMPARE(board.setting(draw::SoundEvent::DrawStart).file, gbk("丢失.wav"));
    const base::IniFile config(folder / "Config.ini");
    QCOMPARE(config.readString(gbk("音效设置"), gbk("节目排名展示_check"), ""), std::string("0"));
    QCOMPARE(config.readString(gbk("音效设置"), gbk("节目排名展示"), "-"), std::string());
  }

  void importAsksBeforeReplacingAndKeepsTheFieldTexts() {
    TestFolder folder;
    writeSounds(folder);
    TestFolder elsewhere;
    elsewhere.write("b.wav", "new b");
    elsewhere.write("新曲.mp3", "new song");
    screen::SoundPlayers players;
    screen::DialogService dialogs;
    TMusicSet dialog(folder.path(), players, dialogs);
    field(dialog, 2)->setEditText(QStringLiteral("typed.wav"));
    dialogs.setNextFileNames({QString::fromStdString((elsewhere / "b.wav").string()),
                              QString::fromStdString((elsewhere / "新曲.mp3").string())});
    dialogs.setNextAnswer(false);
    dialog.findChild<QPushButton*>(QStringLiteral("Button3"))->click();
    QCOMPARE(dialogs.log(), (QStringList{QStringLiteral("open: 导入本地音乐"),
                                         QStringLiteral("question: b.wav已存在,是否覆盖原有音乐?")}));
    QCOMPARE(folder.read("music/b.wav"), std::string("not really a sound"));
    QCOMPARE(folder.read("music/新曲.mp3"), std::string("new song"));
    QCOMPARE(choices(field(dialog, 1)).first(), QStringLiteral("z.mp3"));
    QVERIFY(choices(field(dialog, 1)).contains(QStringLiteral("新曲.mp3")));
    QCOMPARE(field(dialog, 2)->currentText(), QStringLiteral("typed.wav"));

    dialogs.setNextFileNames({QString::fromStdString((elsewhere / "b.wav").string())});
    dialogs.setNextAnswer(true);
    dialog.findChild<QPushButton*>(QStringLiteral("Button3"))->click();
    QCOMPARE(folder.read("music/b.wav"), std::string("new b"));
  }

  void theMainWindowReloadsTheSettingsAfterTheDialog() {
    TestFolder folder;
    dialog_testing::writeEvent(folder, {{"一等奖", 3, 3}});
    std::filesystem::create_directories(folder / "music");
    folder.write("music/停.wav", "not really a sound");
    TForm1 window(folder.path(), nullptr, QSize(1280, 720));
    whenOpened<TMusicSet>([](TMusicSet& dialog) {
      field(dialog, 3)->setEditText(QStringLiteral("停.wav"));
      checkBox(dialog, 3)->setChecked(true);
      dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    window.mainMenu().action(QStringLiteral("N12"))->trigger();
    QCOMPARE(window.luck().sounds().setting(draw::SoundEvent::DrawStop).file, gbk("停.wav"));
    QVERIFY(window.luck().sounds().setting(draw::SoundEvent::DrawStop).on);

    // Without a sound device the stop sound cannot be prepared: the question's
    // Yes opens the same dialog.
    if (screen::SoundPlayers::soundSystemAvailable()) QSKIP("this machine has a sound device");
    bool opened = false;
    window.dialogs().setNextAnswer(true);
    whenOpened<TMusicSet>([&opened](TMusicSet&) { opened = true; });
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(opened);
    QVERIFY(window.dialogs().log().contains(QStringLiteral("question: 电脑声卡未安装,关闭音乐可解决,是否打开设置？")));
  }
};

QTEST_MAIN(SoundSettingsTest)
#include "sound_settings_test.moc"
