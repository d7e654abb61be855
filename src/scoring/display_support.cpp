#include "scoring/display_support.h"

#include <QColor>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>

#include "base/config_files.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "base/paths.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "screen/sound_players.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/core/effect_ini.h"

namespace scoring {

namespace fs = std::filesystem;

CaptionState readCaption(const base::IniFile& file, const std::string& section, styledtext::FontRecord startFont,
                         const styledtext::TSmoothEffect& startEffect, int charsetDefault, int topDefault,
                         int leftDefault) {
  CaptionState caption;
  startFont.color = 65535;
  startFont.size = 20;
  startFont.charset = charsetDefault;
  caption.font = styledtext::readFont(file, section, "", startFont);
  // Alpha 100; every other effect key 0 or off.
  const styledtext::EffectDefaults defaults{100,   0, 0, false, 0,     0, 0, false, false, 0,
                                            false, 0, 0, 0,     false, 0, 0, 0,     false};
  caption.effect = styledtext::readEffect(file, section, styledtext::kLabelEffectPrefix, defaults, startEffect);
  caption.top = file.readInt(section, "Top", topDefault);
  caption.left = file.readInt(section, "Left", leftDefault);
  return caption;
}

void writeCaption(base::IniFile& file, const std::string& section, const CaptionState& caption) {
  styledtext::writeFont(file, section, "", caption.font);
  styledtext::writeEffect(file, section, styledtext::kLabelEffectPrefix, caption.effect);
  file.writeInt(section, "Top", caption.top);
  file.writeInt(section, "Left", caption.left);
}

void applyCaption(styledtext::TSmoothLabel* label, const styledtext::FontRecord& font,
                  const styledtext::TSmoothEffect& effect, const QString& caption) {
  label->beginUpdate();
  label->setSmoothFont(font);
  label->FontEffect().assign(effect);
  label->setCaption(caption);
  label->endUpdate();
}

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

std::optional<fs::path> backgroundFile(const fs::path& programDir, const std::string& gbkName) {
  if (gbkName.empty() || base::isUnsafeBareName(gbkName)) return std::nullopt;
  fs::path file = base::joinGbk(programDir / "backpic", gbkName);
  if (!base::isFile(file)) return std::nullopt;
  return file;
}

std::optional<std::string> chooseBackground(const fs::path& programDir, screen::DialogService& dialogs) {
  const fs::path folder = programDir / "backpic";
  const QString chosen = dialogs.openFileName(
      QString(), platform::toQString(folder),
      QStringLiteral("全部 (*.jpg *.jpeg *.bmp *.ico *.emf *.wmf *.png);;JPEG 图像文件 (*.jpg) (*.jpg);;"
                     "JPEG 图像文件 (*.jpeg) (*.jpeg);;位图 (*.bmp) (*.bmp);;图标 (*.ico) (*.ico);;"
                     "增强图元文件 (*.emf) (*.emf);;图元文件 (*.wmf) (*.wmf);;可移植图片(*.png) (*.png)"));
  if (chosen.isEmpty()) return std::nullopt;
  const fs::path source(chosen.toStdString());
  QImageReader reader(chosen);
  platform::useExtensionDecoder(reader);
  if (!reader.canRead()) {
    dialogs.message(QStringLiteral("无法读取图片 %1").arg(chosen));
    return std::nullopt;
  }
  if (source.parent_path() != folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    fs::copy_file(source, folder / source.filename(), fs::copy_options::overwrite_existing, ec);
    if (ec) {
      dialogs.message(
          QStringLiteral("无法复制图片到 backpic: %1").arg(QString::fromStdString(base::describeError(ec))));
      return std::nullopt;
    }
  }
  return platform::toGbk(QString::fromStdString(source.filename().string()));
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

QColor colourFromStored(int stored) { return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF); }

int colourToStored(const QColor& colour) { return colour.red() + 256 * colour.green() + 65536 * colour.blue(); }

}  // namespace scoring
