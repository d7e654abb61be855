#pragma once
// The program directory: the folder that holds the event's files. It is the
// executable's folder, as the program has always had it, unless that folder
// cannot be written (a system-wide install): then the event lives in the user's
// data folder, laid out from the files shipped beside the executable. This is
// the one place that decides; everything else asks it.
#include <QString>
#include <filesystem>

namespace platform {

QString programDir();
std::filesystem::path programDirPath();

// The rule behind programDirPath(): the executable's folder when writable, else
// dataHome / <the executable's name>.
std::filesystem::path eventFolderFor(const std::filesystem::path& executable, bool executableFolderWritable,
                                     const std::filesystem::path& dataHome);

// Copies every file below `shipped` (the executable left out) to the same place
// below `eventFolder` unless it is there already, and makes the event's fixed
// folders. Never overwrites: the event's own files are the operator's.
// Raises base::FileError when the folder cannot be made.
void layOutEventFolder(const std::filesystem::path& shipped, const std::filesystem::path& executable,
                       const std::filesystem::path& eventFolder);

}  // namespace platform
