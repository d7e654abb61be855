// The two players of the draw screen. The test machine may have no audio
// device: what is checked is what shows either way (the playing state, the
// repeat, the answers for missing, empty and broken files); nothing waits
// longer than a few seconds.
#include "screen/sound_players.h"

#include <QSignalSpy>
#include <QtTest>
#include <cstdint>

#include "test_folder.h"

using screen::SoundPlayers;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

// A short tone as a 16-bit mono WAV file.
std::string wavBytes(int milliseconds) {
  const std::uint32_t rate = 8000;
  const std::uint32_t samples = rate * milliseconds / 1000;
  std::string bytes;
  auto put = [&bytes](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  bytes += "RIFF";
  put(36 + samples * 2, 4);
  bytes += "WAVEfmt ";
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(rate, 4);
  put(rate * 2, 4);
  put(2, 2);
  put(16, 2);
  bytes += "data";
  put(samples * 2, 4);
  for (std::uint32_t i = 0; i < samples; ++i) put(static_cast<std::uint16_t>((i / 8) % 2 ? 6000 : -6000), 2);
  return bytes;
}

// Whether this machine's media back end plays a WAV file at all. Where it plays
// nothing, "not playing" after a stop proves nothing, so those checks skip and
// say why; the rules behind them are tested through a fake player in the draw
// engine's tests.
bool backendPlays() {
  static const bool plays = [] {
    TestFolder folder;
    std::filesystem::create_directories(folder / "music");
    folder.write("music/probe.wav", wavBytes(1000));
    SoundPlayers players;
    players.play(folder / "music" / "probe.wav", false);
    const bool playing = QTest::qWaitFor([&] { return players.isPlaying(); }, 2000);
    players.stop();
    return playing;
  }();
  return plays;
}

void writeMusic(const TestFolder& folder) {
  std::filesystem::create_directories(folder / "music");
  folder.write("music/短音.wav", wavBytes(200));
  folder.write("music/text.wav", "this is no sound");
}

}  // namespace

class SoundPlayersTest : public QObject {
  Q_OBJECT

 private slots:
  void playSettingChecksSwitchAndFile_data() {
    QTest::addColumn<bool>("switchOn");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("expected");
    QTest::newRow("present") << true << "短音.wav" << int(SoundPlayers::Playback::Played);
    QTest::newRow("switched off") << false << "短音.wav" << int(SoundPlayers::Playback::SwitchedOff);
    QTest::newRow("missing") << true << "gone.mp3" << int(SoundPlayers::Playback::Missing);
    QTest::newRow("empty name") << true << "" << int(SoundPlayers::Playback::Missing);
    QTest::newRow("folder is no file") << true << "." << int(SoundPlayers::Playback::Missing);
  }
  // Every playback first stops what plays, whatever happens next.
  void playSettingChecksSwitchAndFile() {
    QFETCH(bool, switchOn);
    QFETCH(QString, file);
    QFETCH(int, expected);
    TestFolder folder;
    writeMusic(folder);
    SoundPlayers players;
    players.play(folder / "music" / "短音.wav", true);
    QCOMPARE(int(players.playSetting(switchOn, folder.path(), gbk(file.toStdString()), false)), expected);
    if (expected == int(SoundPlayers::Playback::Played)) QVERIFY(!players.repeat());
    if (!backendPlays()) QSKIP("the media back end of this machine plays nothing: playing and stopping cannot be seen");
    if (expected != int(SoundPlayers::Playback::Played)) QVERIFY(!players.isPlaying());
    if (expected == int(SoundPlayers::Playback::Played)) QTRY_VERIFY_WITH_TIMEOUT(players.isPlaying(), 2000);
  }

  void missingSoundText() {
    QCOMPARE(SoundPlayers::missingSoundText(gbk("背景音乐.mp3")), QStringLiteral("找不到背景音乐.mp3"));
    QCOMPARE(SoundPlayers::missingSoundText(""), QStringLiteral("找不到"));
  }

  // A sound with the repeat flag starts again at its end until it is stopped; one
  // without plays once.
  void repeatLoopsUntilStopped() {
    TestFolder folder;
    writeMusic(folder);
    const auto tone = folder / "music" / "短音.wav";
    SoundPlayers players;
    if (!backendPlays()) QSKIP("the media back end of this machine plays no WAV file");
    players.play(tone, true);
    QTRY_VERIFY_WITH_TIMEOUT(players.isPlaying(), 2000);
    QTest::qWait(700);  // three and a half times the tone's length
    QTRY_VERIFY_WITH_TIMEOUT(players.isPlaying(), 500);
    players.stop();
    QVERIFY(!players.isPlaying());
    QTest::qWait(400);
    QVERIFY(!players.isPlaying());

    players.play(tone, false);
    QTRY_VERIFY_WITH_TIMEOUT(players.isPlaying(), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(!players.isPlaying(), 2000);
    QTest::qWait(400);
    QVERIFY(!players.isPlaying());
  }

  // The stop sound is either ready, or its failure is told: at once when there is
  // no audio output, or by stopSoundFailed() when the file turns out no sound.
  void stopSoundPreparation() {
    TestFolder folder;
    writeMusic(folder);
    SoundPlayers players;
    QSignalSpy failed(&players, &SoundPlayers::stopSoundFailed);

    QVERIFY(players.prepareStopSound(folder.path(), ""));
    QVERIFY(!players.stopSoundReady());
    QVERIFY(players.prepareStopSound(folder.path(), "gone.wav"));
    QVERIFY(!players.stopSoundReady());

    if (!SoundPlayers::soundSystemAvailable()) {
      QVERIFY(!players.prepareStopSound(folder.path(), gbk("短音.wav")));
      QVERIFY(!players.stopSoundReady());
      QVERIFY(!players.prepareStopSound(folder / "music" / "text.wav"));
      QCOMPARE(failed.count(), 0);
      return;
    }
    QVERIFY(players.prepareStopSound(folder.path(), gbk("短音.wav")));
    QVERIFY(players.stopSoundReady());
    QTest::qWait(500);
    QCOMPARE(failed.count(), 0);
    QVERIFY(players.stopSoundReady());

    if (players.prepareStopSound(folder / "music" / "text.wav")) QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 3000);
    QVERIFY(!players.stopSoundReady());
  }

  // The stop ends the draw-start sound, whether or not the stop sound is on.
  void stopSoundPlayEndsTheStartSound() {
    if (!backendPlays()) QSKIP("the media back end of this machine plays nothing: a stopped sound cannot be seen");
    TestFolder folder;
    writeMusic(folder);
    SoundPlayers players;
    players.prepareStopSound(folder.path(), gbk("短音.wav"));
    for (bool switchOn : {false, true}) {
      players.play(folder / "music" / "短音.wav", true);
      QTRY_VERIFY_WITH_TIMEOUT(players.isPlaying(), 2000);
      players.playStopSound(switchOn);
      QVERIFY(!players.isPlaying());
      QTest::qWait(300);
      QVERIFY(!players.isPlaying());
    }
  }
};

QTEST_MAIN(SoundPlayersTest)
#include "sound_players_test.moc"
