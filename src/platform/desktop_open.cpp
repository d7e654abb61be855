#include "platform/desktop_open.h"

#include <QDesktopServices>

#include "platform/qt_gbk.h"

namespace platform {

bool openWithDesktop(const QUrl& url) { return QDesktopServices::openUrl(url); }

QUrl fileUrl(const std::filesystem::path& file) { return QUrl::fromLocalFile(toQString(file)); }

}  // namespace platform
