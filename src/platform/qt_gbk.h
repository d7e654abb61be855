#pragma once
// The Qt boundary of the engine's text: QString <-> the GB18030 bytes every file
// and table holds (base/gbk.h), and a file-system path as a QString.
#include <QString>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// QString -> the engine's bytes. Every character has a GB18030 form; a lone
// surrogate (half of a character, e.g. from a damaged paste) has none, and
// toGbk raises base::UnstorableText naming the text rather than storing "?"
// in its place. tryToGbk answers nothing instead.
std::string toGbk(const QString& text);
std::optional<std::string> tryToGbk(const QString& text);
QString fromGbk(const std::string& bytes);
// True when the files can hold every character of the text unchanged.
bool isStorable(const QString& text);
QString toQString(const std::filesystem::path& path);

}  // namespace platform
