#pragma once
// Where the event is: the one function that answers it (eventFolder()), and the
// rule behind it, which nothing else guesses at.
//
// The program folder (the executable's) is the event folder, as the program has
// always had it; except for an installed program, whose folder lies under a
// system prefix (/usr, /opt …) or belongs to another user than the one running
// it: that one keeps its event in the user's data folder, whoever runs it, root
// too, laid out from the files shipped beside the executable, and never writes
// the program folder. Whether a folder can be written plays no part: an event is
// never moved or copied elsewhere because its folder is read-only (start-up then
// says so and does not draw, lifecycle.h). When the other place holds an event
// too, the operator is told which one is used.
#include <QString>
#include <filesystem>
#include <optional>

namespace platform {

struct EventFolderChoice {
  std::filesystem::path folder;  // the event folder
  bool installed = false;        // the program is installed: the folder is the user's data folder
  // An event in the place the rule did not choose (a copy an older version made
  // there, files a run as root left in an installed program's folder): never used,
  // never changed, but the operator hears of it.
  std::optional<std::filesystem::path> otherEvent;
};

// What the rule looks at, so that tests can give it.
struct ProgramLocation {
  std::filesystem::path executable;
  bool folderOwnedByUser = true;   // the executable's folder belongs to the user running the program
  std::filesystem::path dataHome;  // $XDG_DATA_HOME, by default ~/.local/share
};

// The running executable's location.
ProgramLocation runningProgramLocation();

// The folder lies under a system prefix.
bool isUnderSystemPrefix(const std::filesystem::path& folder);
// The rule: the executable's folder, or for an installed program dataHome / <the
// executable's name>; with the other place's event when there is one.
EventFolderChoice chooseEventFolder(const ProgramLocation& location);
// A folder holds an event when it holds the files the program writes in one
// (Config.ini or LuckName.txt); shipped files alone are none.
bool holdsEvent(const std::filesystem::path& folder);

// Decided once for this process from the running executable; an installed
// program's folder is laid out on the way. Raises base::FileError when the data
// folder cannot be made.
const EventFolderChoice& eventFolder();
QString programDir();

// What the operator is told when the other place holds an event too (UTF-8).
QString otherEventMessage(const EventFolderChoice& choice);

// Copies every file below `shipped` (the executable, its modules and any file an
// event makes, such as Config.ini or LuckName.txt, left out) to the same place below
// `eventFolder` unless it is there already, and makes the event's fixed
// folders. Never overwrites: the event's own files are the operator's.
// Raises base::FileError when the folder cannot be made.
void layOutEventFolder(const std::filesystem::path& shipped, const std::filesystem::path& executable,
                       const std::filesystem::path& eventFolder);

}  // namespace platform
