#include "scoring/display_support.h"

#include <QLinearGradient>
#include <QPainter>

#include "base/config_files.h"
#include "base/gbk.h"
#include "screen/sound_players.h"

namespace scoring {

namespace fs = std::filesystem;

QImage builtInBackground(QSize size) {
  QImage image(size.isEmpty() ? QSize(16, 16) : size, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient gradient(0, 0, 0, image.height());
  gradient.setColorAt(0, QColor(90, 10, 20));
  gradient.setColorAt(0.6, QColor(30, 10, 60));
  gradient.setColorAt(1, QColor(10, 10, 30));
  painter.fillRect(image.rect(), gradient);
  return image;
}

void playDisplaySound(const DisplayContext& context, const char* utf8Event, bool repeat,
                      std::set<std::string>* reported) {
  if (!context.sounds) return;
  base::IniFile config = base::ConfigFiles(context.programDir).openConfig();
  const std::string section = base::utf8ToGbk("音效设置");
  const std::string key = base::utf8ToGbk(utf8Event);
  const bool on = config.readBool(section, key + "_check", true);
  const std::string file = config.readString(section, key, "");
  if (context.sounds->playSetting(on, context.programDir, file, repeat) != screen::SoundPlayers::Playback::Missing ||
      !context.dialogs)
    return;
  if (reported && !reported->insert(key).second) return;
  context.dialogs->message(screen::SoundPlayers::missingSoundText(file));
}

std::optional<QString> askTitle(screen::DialogService& dialogs, const QString& current) {
  std::optional<QString> answer = dialogs.text(QStringLiteral("标题"), QString(), current);
  if (!answer) return std::nullopt;
  if (answer->trimmed().isEmpty()) {
    dialogs.message(QStringLiteral("标题内容不可为空"));
    return std::nullopt;
  }
  return answer;
}

void ReadingErrors::report(screen::DialogService& dialogs, const std::string& utf8Message, const fs::path& file) {
  std::error_code ec;
  std::string signature;
  if (auto time = fs::last_write_time(file, ec); !ec)
    signature = std::to_string(time.time_since_epoch().count()) + ":" + std::to_string(fs::file_size(file, ec));
  if (utf8Message == lastMessage_ && signature == lastSignature_) return;
  lastMessage_ = utf8Message;
  lastSignature_ = signature;
  ++shown_;
  showing_ = true;
  dialogs.message(QString::fromUtf8(utf8Message));
  showing_ = false;
}

}  // namespace scoring
