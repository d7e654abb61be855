#include "dialogs/TMusicSet.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QToolButton>

#include "base/config_files.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "base/paths.h"
#include "draw/config_backup.h"
#include "draw/sound_board.h"
#include "platform/desktop_open.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_keys.h"
#include "screen/window_fit.h"
#include "ui_TMusicSet.h"

using platform::fromGbk;
using platform::toGbk;

namespace {
const char* const kPlayButtons[draw::kSoundEventCount] = {"ToolButton5",  "ToolButton1",  "ToolButton3", "ToolButton13",
                                                          "ToolButton15", "ToolButton17", "ToolButton19"};
std::string soundSection() { return base::utf8ToGbk("音效设置"); }
}  // namespace

TMusicSet::TMusicSet(std::filesystem::path programDir, screen::SoundPlayers& players, screen::DialogService& dialogs,
                     QWidget* parent)
    : QDialog(parent),
      openUrl(platform::openWithDesktop),
      ui(std::make_unique<Ui::TMusicSet>()),
      programDir_(std::move(programDir)),
      players_(players),
      dialogs_(dialogs) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  screen::setDefaultButton(*this, ui->Button1);
  listSoundFiles();
  const base::IniFile config = base::ConfigFiles(programDir_).openWithFallback();
  for (std::size_t i = 0; i < draw::kSoundEventCount; ++i) {
    const std::string key = draw::soundKey(static_cast<draw::SoundEvent>(i));
    field(i)->setEditText(fromGbk(config.readString(soundSection(), key, "")));
    checkBox(i)->setChecked(config.readBool(soundSection(), key + "_check", false));
    auto* play = findChild<QToolButton*>(QString::fromLatin1(kPlayButtons[i]));
    connect(play, &QToolButton::clicked, this, [this, i] { preview(i); });
  }
  ui->Label1->installEventFilter(this);
  connect(ui->Button1, &QPushButton::clicked, this, &TMusicSet::Button1Click);
  connect(ui->Button2, &QPushButton::clicked, this, &TMusicSet::reject);
  connect(ui->Button3, &QPushButton::clicked, this, &TMusicSet::Button3Click);
}

TMusicSet::~TMusicSet() = default;

QCheckBox* TMusicSet::checkBox(std::size_t event) const {
  return findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(event + 1));
}

QComboBox* TMusicSet::field(std::size_t event) const {
  return findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(event + 1));
}

std::filesystem::path TMusicSet::downloadPage() const { return programDir_ / "web" / "music.html"; }

void TMusicSet::listSoundFiles() {
  QStringList names;
  for (const std::string& name : draw::soundFileNames(programDir_)) names << fromGbk(name);
  for (std::size_t i = 0; i < draw::kSoundEventCount; ++i) {
    QComboBox* box = field(i);
    const QString text = box->currentText();
    box->clear();
    box->addItems(names);
    box->setEditText(text);
  }
}

void TMusicSet::preview(std::size_t event) {
  const std::string name = toGbk(field(event)->currentText());
  if (players_.playSetting(true, programDir_, name, false) == screen::SoundPlayers::Playback::Missing)
    dialogs_.message(screen::SoundPlayers::missingSoundText(name));
}

void TMusicSet::Button1Click() {
  for (std::size_t i = 0; i < draw::kSoundEventCount; ++i) {
    if (!platform::isStorable(field(i)->currentText())) {
      dialogs_.message(QStringLiteral("文件名含有无法保存的字符:") + field(i)->currentText());
      return;
    }
  }
  const bool written = dialogs_.reportFailures([this] {
    base::IniFile config = base::ConfigFiles(programDir_).openConfig();
    base::IniBatch batch(config);
    for (std::size_t i = 0; i < draw::kSoundEventCount; ++i)
      config.writeString(soundSection(), draw::soundKey(static_cast<draw::SoundEvent>(i)), toGbk(field(i)->currentText()));
    for (std::size_t i = 0; i < draw::kSoundEventCount; ++i)
      config.writeBool(soundSection(), draw::soundKey(static_cast<draw::SoundEvent>(i)) + "_check",
                       checkBox(i)->isChecked());
  });
  if (!written) return;
  players_.stop();
  accept();
}

void TMusicSet::reject() {
  players_.stop();
  QDialog::reject();
}

void TMusicSet::Button3Click() {
  const QStringList chosen =
      dialogs_.openFileNames(QStringLiteral("导入本地音乐"), QString(),
                             QStringLiteral("音频文件 (*.mp3 *.wma *.wav *.mid *.MP3 *.WMA *.WAV *.MID)"));
  if (chosen.isEmpty()) return;
  const std::filesystem::path music = base::findIgnoringCase(programDir_, "music");
  QStringList failed;
  for (const QString& file : chosen) {
    const QString name = QFileInfo(file).fileName();
    if (!platform::isStorable(name)) {
      failed << name;
      continue;
    }
    const std::filesystem::path target = base::joinGbk(music, toGbk(name));
    if (base::isFile(target) &&
        !dialogs_.question(name + QStringLiteral("已存在,是否覆盖原有音乐?"), false, QStringLiteral("提示")))
      continue;
    try {
      std::filesystem::create_directories(music);
      draw::copyFileReplacing(std::filesystem::path(file.toStdString()), target);
    } catch (const std::exception&) {
      failed << name;
    }
  }
  listSoundFiles();
  if (!failed.isEmpty()) dialogs_.message(QStringLiteral("以下文件未能导入:\n") + failed.join(QLatin1Char('\n')));
}

bool TMusicSet::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->Label1) {
    switch (event->type()) {
      case QEvent::Enter:
        ui->Label1->setStyleSheet(QStringLiteral("color: blue;"));
        break;
      case QEvent::Leave:
        ui->Label1->setStyleSheet(QString());
        break;
      case QEvent::MouseButtonRelease:
        openUrl(platform::fileUrl(downloadPage()));
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}
