#pragma once
// The Qt boundary of the engine's text: QString <-> the GBK bytes every file and
// table holds, and a file-system path as a QString.
#include <QString>
#include <filesystem>
#include <string>

namespace platform {

// QString <-> GBK bytes of the engine, and a path in the file system.
std::string toGbk(const QString& text);
QString fromGbk(const std::string& bytes);
// True when GBK can spell every character of the text, so that it survives the
// files and the password store unchanged.
bool spellableInGbk(const QString& text);
QString toQString(const std::filesystem::path& path);

}  // namespace platform
