#pragma once
// The program directory: the folder that holds the executable and the event's files.
#include <QString>
#include <filesystem>

namespace platform {

QString programDir();
std::filesystem::path programDirPath();

// QString <-> GBK bytes of the engine, and a path in the file system.
std::string toGbk(const QString& text);
QString fromGbk(const std::string& bytes);
QString toQString(const std::filesystem::path& path);

}  // namespace platform
