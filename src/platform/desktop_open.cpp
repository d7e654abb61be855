#include "platform/desktop_open.h"

#include <QDesktopServices>

#include "platform/program_dir.h"

namespace platform {

bool openWithDesktop(const QUrl& url) { return QDesktopServices::openUrl(url); }

QUrl fileUrl(const std::filesystem::path& file) { return QUrl::fromLocalFile(toQString(file)); }

}  // namespace platform
