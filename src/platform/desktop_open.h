#pragma once
// Opening a file or page for the operator with the desktop's own handler: the
// text editor for a .txt file, the browser for a page. The file name is handed
// over as a URL, never through a shell command line.
#include <QUrl>
#include <filesystem>

namespace platform {

// True when the desktop took the URL over (not whether a program then showed it).
bool openWithDesktop(const QUrl& url);
QUrl fileUrl(const std::filesystem::path& file);

}  // namespace platform
