#include "platform/qt_gbk.h"

#include "base/gbk.h"

namespace platform {

bool isStorable(const QString& text) { return text.isValidUtf16(); }

std::optional<std::string> tryToGbk(const QString& text) {
  // QString::toStdString turns a lone surrogate into "?": it is looked at first.
  if (!isStorable(text)) return std::nullopt;
  return base::tryUtf8ToGbk(text.toStdString());
}

std::string toGbk(const QString& text) {
  if (std::optional<std::string> gbk = tryToGbk(text)) return std::move(*gbk);
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool pair = i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate();
    if (pair) {
      shown += text.mid(i++, 2);
    } else {
      shown += text[i].isSurrogate() ? QChar(QChar::ReplacementCharacter) : text[i];
    }
  }
  throw base::UnstorableText(shown.toStdString());
}

QString fromGbk(const std::string& bytes) { return QString::fromStdString(base::gbkToUtf8(bytes)); }

QString toQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace platform
