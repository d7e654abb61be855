#include "platform/program_dir.h"

#include <QCoreApplication>

#include "base/gbk.h"

namespace platform {

QString programDir() { return QCoreApplication::applicationDirPath(); }

std::filesystem::path programDirPath() { return std::filesystem::path(programDir().toStdString()); }

std::string toGbk(const QString& text) { return base::utf8ToGbk(text.toStdString()); }

QString fromGbk(const std::string& bytes) { return QString::fromStdString(base::gbkToUtf8(bytes)); }

bool spellableInGbk(const QString& text) { return fromGbk(toGbk(text)) == text; }

QString toQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace platform
