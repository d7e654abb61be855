// The two players of the draw screen. Their rules (the repeat, the stop that
// ends the start sound, the stop sound's preparation with and without an audio
// output) run on fake outputs whose ends and failures the test causes; the
// holding of commands while a file opens runs on a fake media player. The
// real back end is checked where the machine plays sound: a tone plays and
// ends, and a file that is no sound is reported; every wait ends on the event
// it waits for, within a few seconds.
#include "screen/sound_players.h"

#include <QSignalSpy>
#include <QtTest>
#include <cstdint>
#include <vector>

#include "screen/held_playback.h"
#include "screen/sound_output.h"
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

// An output that plays nothing: the test ends its sound or makes it fail.
class FakeOutput final : public screen::SoundOutput {
 public:
  void setSource(const QString& file) override {
    source = file;
    playing_ = atEnd_ = failed_ = false;
  }
  void playFromStart() override {
    playing_ = true;
    atEnd_ = false;
    ++starts;
  }
  void stop() override { playing_ = false; }
  bool isStopped() const override { return !playing_; }
  bool isPlaying() const override { return playing_; }
  bool atEnd() const override { return atEnd_; }
  bool failed() const override { return failed_; }
  bool isAvailable() const override { return true; }

  // The sound reaches its end, as the back end reports it.
  void finish() {
    if (!playing_) return;
    playing_ = false;
    atEnd_ = true;
    onEnd();
  }
  // A late end: the back end reports an end after a stop.
  void reportEndAfterStop() { onEnd(); }
  void fail() {
    failed_ = true;
    playing_ = false;
    onFailure();
  }

  QString source;
  int starts = 0;

 private:
  bool playing_ = false;
  bool atEnd_ = false;
  bool failed_ = false;
};

// The two fake players of a SoundPlayers, made on its first sound.
struct FakeBackEnd {
  std::vector<FakeOutput*> made;
  bool outputPresent = true;
  screen::SoundBackEnd backEnd() {
    return {[this] {
              made.push_back(new FakeOutput);
              return made.back();
            },
            [this] { return outputPresent; }};
  }
  FakeOutput& player1() { return *made.at(0); }
  FakeOutput& player2() { return *made.at(1); }
};

void writeMusic(const TestFolder& folder) {
  std::filesystem::create_directories(folder / "music");
  folder.write("music/短音.wav", wavBytes(200));
  folder.write("music/text.wav", "this is no sound");
}

// A media player whose file opens when the test says so; it logs each command
// it is given.
class OpeningMedia final : public screen::MediaPort {
 public:
  QUrl source() const override { return source_; }
  void setSource(const QUrl& file) override {
    log << QStringLiteral("open ") + file.fileName();
    source_ = file;
    opening_ = !file.isEmpty();
    playing_ = false;
  }
  bool opening() const override { return opening_; }
  bool playing() const override { return playing_; }
  bool stopped() const override { return !playing_; }
  void playFromStart() override {
    log << QStringLiteral("play");
    playing_ = true;
  }
  void stop() override {
    log << QStringLiteral("stop");
    playing_ = false;
  }
  // The file has opened: the player reports its new status.
  void finishOpening(screen::HeldPlayback& playback) {
    opening_ = false;
    playback.carryOut();
  }

  QStringList log;

 private:
  QUrl source_;
  bool opening_ = false;
  bool playing_ = false;
};

QUrl file(const char* name) { return QUrl::fromLocalFile(QStringLiteral("/music/") + QLatin1String(name)); }

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
    FakeBackEnd fake;
    SoundPlayers players(nullptr, fake.backEnd());
    players.play(folder / "music" / "短音.wav", true);
    FakeOutput& output = fake.player1();
    output.finish();
    output.finish();
    QCOMPARE(output.starts, 3);
    QVERIFY(players.isPlaying());
    players.stop();
    output.reportEndAfterStop();
    QVERIFY(!players.isPlaying());
    QCOMPARE(output.starts, 3);

    players.play(folder / "music" / "短音.wav", false);
    output.finish();
    QVERIFY(!players.isPlaying());
    QCOMPARE(output.starts, 4);
  }

  // The stop sound is either ready, or its failure is told: at once when there is
  // no audio output, or once by stopSoundFailed() when the file turns out no
  // sound before it is played; after it played, its errors are silent.
  void stopSoundPreparation() {
    TestFolder folder;
    writeMusic(folder);
    for (bool outputPresent : {false, true}) {
      FakeBackEnd fake;
      fake.outputPresent = outputPresent;
      SoundPlayers players(nullptr, fake.backEnd());
      QSignalSpy failed(&players, &SoundPlayers::stopSoundFailed);
      QVERIFY(players.prepareStopSound(folder.path(), ""));
      QVERIFY(players.prepareStopSound(folder.path(), "gone.wav"));
      QVERIFY(!players.stopSoundReady());
      QCOMPARE(players.prepareStopSound(folder.path(), gbk("短音.wav")), outputPresent);
      QCOMPARE(players.stopSoundReady(), outputPresent);
      if (!outputPresent) continue;

      fake.player2().fail();
      fake.player2().fail();
      QCOMPARE(failed.count(), 1);
      QVERIFY(!players.stopSoundReady());

      QVERIFY(players.prepareStopSound(folder.path(), gbk("短音.wav")));
      players.playStopSound(true);
      fake.player2().fail();
      QCOMPARE(failed.count(), 1);
    }
  }

  // The stop ends the draw-start sound, whether or not the stop sound is on; the
  // stop sound plays only with its switch on.
  void stopSoundPlayEndsTheStartSound() {
    TestFolder folder;
    writeMusic(folder);
    for (bool switchOn : {false, true}) {
      FakeBackEnd fake;
      SoundPlayers players(nullptr, fake.backEnd());
      QVERIFY(players.prepareStopSound(folder.path(), gbk("短音.wav")));
      players.play(folder / "music" / "短音.wav", true);
      players.playStopSound(switchOn);
      QVERIFY(!players.isPlaying());
      fake.player1().reportEndAfterStop();
      QVERIFY(!players.isPlaying());
      QCOMPARE(fake.player2().starts, switchOn ? 1 : 0);
    }
  }

  // Commands that come while a file opens reach the player once it has opened,
  // and only the last wish: the back end deadlocks when given a file, a seek or
  // a stop while it opens one.
  void commandsWaitWhileAFileOpens() {
    OpeningMedia media;
    screen::HeldPlayback playback(media);
    playback.setSource(file("a.wav"));
    playback.playFromStart();
    playback.setSource(file("b.wav"));
    playback.playFromStart();
    playback.stop();
    playback.setSource(file("c.wav"));
    playback.playFromStart();
    QCOMPARE(media.log, QStringList({"open a.wav"}));
    QVERIFY(playback.held());
    QVERIFY(playback.isPlaying());

    media.finishOpening(playback);
    QCOMPARE(media.log, QStringList({"open a.wav", "open c.wav"}));
    media.finishOpening(playback);
    QCOMPARE(media.log, QStringList({"open a.wav", "open c.wav", "play"}));
    QVERIFY(!playback.held());
    QVERIFY(playback.isPlaying());

    // With the file open, commands go through at once; the same file is not opened again.
    playback.stop();
    playback.setSource(file("c.wav"));
    QCOMPARE(media.log, QStringList({"open a.wav", "open c.wav", "play", "stop"}));
    QVERIFY(!playback.isPlaying());

    // A play taken back while its file opens never starts.
    playback.setSource(file("d.wav"));
    playback.playFromStart();
    playback.stop();
    media.finishOpening(playback);
    QCOMPARE(media.log, QStringList({"open a.wav", "open c.wav", "play", "stop", "open d.wav"}));
    QVERIFY(!playback.isPlaying());
  }

  // The real back end given new files, stops and restarts faster than it opens
  // them, as an operator's quick keys do: it never hangs, and the last file
  // asked for still plays to its end.
  void quickChangesNeverHangTheBackEnd() {
    if (!backendPlays()) QSKIP("the media back end of this machine plays nothing: playing and stopping cannot be seen");
    TestFolder folder;
    writeMusic(folder);
    folder.write("music/long.wav", wavBytes(1500));
    SoundPlayers players;
    for (int round = 0; round < 150; ++round) {
      players.play(folder / "music" / "long.wav", true);
      players.play(folder / "music" / "短音.wav", false);
      if (round % 3 == 0) players.stop();
      QTest::qWait(round % 4);
    }
    players.play(folder / "music" / "短音.wav", false);
    QTRY_VERIFY_WITH_TIMEOUT(players.isPlaying(), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(!players.isPlaying(), 3000);
  }

  // The real back end: a tone plays and ends by itself, and a file that is no
  // sound is reported once it fails to load.
  void theBackEndPlaysATone() {
    if (!backendPlays()) QSKIP("the media back end of this machine plays nothing: playing and stopping cannot be seen");
    TestFolder folder;
    writeMusic(folder);
    SoundPlayers players;
    QSignalSpy failed(&players, &SoundPlayers::stopSoundFailed);
    players.play(folder / "music" / "短音.wav", false);
    QTRY_VERIFY_WITH_TIMEOUT(players.isPlaying(), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(!players.isPlaying(), 3000);
    // Without an audio output device the stop sound is refused at once.
    const bool output = SoundPlayers::soundSystemAvailable();
    QCOMPARE(players.prepareStopSound(folder.path(), gbk("短音.wav")), output);
    if (output && players.prepareStopSound(folder / "music" / "text.wav"))
      QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 3000);
    QVERIFY(!players.stopSoundReady());
  }
};

QTEST_MAIN(SoundPlayersTest)
#include "sound_players_test.moc"
