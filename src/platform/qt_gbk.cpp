#include "platform/qt_gbk.h"

#include "base/gbk.h"

namespace platform {

std::string toGbk(const QString& text) { return base::utf8ToGbk(text.toStdString()); }

QString fromGbk(const std::string& bytes) { return QString::fromStdString(base::gbkToUtf8(bytes)); }

bool spellableInGbk(const QString& text) { return fromGbk(toGbk(text)) == text; }

QString toQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace platform
