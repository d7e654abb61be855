#pragma once
// Parts of the program that bring large libraries with them and that many
// events never use are built as modules beside the executable and loaded the
// first time they are needed: the media back end for the sounds, and the
// workbook libraries (with OpenSSL) for .xlsx files. An event with its sounds
// off that never touches a workbook never maps them, which keeps the draw
// screen several megabytes smaller and its start quicker.
//
// The module lib<name>.so is looked for beside the executable (the program
// folder of a build), then in the package's library folder (the installed
// program), then in the folders that programs of the build tree other than the
// program itself (tests, tools) name with addModuleFolder(). No folder of a
// build tree is compiled into the program.
#include <QLibrary>
#include <QString>
#include <string>
#include <vector>

namespace platform {

// The program's modules: the sound back end and the workbook libraries.
inline constexpr char kSoundModule[] = "kv_sound";
inline constexpr char kWorkbookModule[] = "kv_workbook";

// Their file names. Like the executable they are the program's code, not part
// of the event: a configuration export leaves them out.
std::vector<std::string> moduleFileNames();

// The entry point `symbol` of module `name` ("kv_sound"), loading the module at
// the first call; null when the module or the entry point is missing, with the
// reason in `error` (Chinese, for the operator).
QFunctionPointer moduleEntry(const char* name, const char* symbol, QString* error = nullptr);

// Adds a folder to look in after the program's own, for programs that run
// outside the program folder; call it before the first module is needed.
void addModuleFolder(const QString& folder);

}  // namespace platform
