#pragma once
// Pictures the operator chooses and pictures the settings name. A chosen
// picture is read before anything keeps its name, and one chosen outside its
// folder is copied in (screen::adoptPicture), so that the bare name stored for
// it finds it at the next start; every picture command does it the same way.
#include <QImage>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>

#include "screen/state/element_commands.h"

namespace screen {

class DialogService;

// The filter of every picture dialog, in Qt's form.
QString pictureFilter();

// True when `file` reads as a picture; otherwise the operator is told.
bool readableOrTold(DialogService& dialogs, const QString& file);

// Asks for a picture starting in `folder`; the chosen file when it reads as a
// picture (otherwise the operator is told), nothing when cancelled.
std::optional<std::filesystem::path> askPicture(DialogService& dialogs, const std::filesystem::path& folder);

struct ChosenPicture {
  AdoptedPicture kept;  // the file in the folder and its bare GBK name
  QImage picture;
};
// askPicture, then the picture adopted into `folder`; nothing when cancelled,
// unreadable, or when it cannot be kept there (a name GBK cannot spell, a failed
// copy: the operator is told).
std::optional<ChosenPicture> chooseAndAdoptPicture(DialogService& dialogs, const std::filesystem::path& folder);

// The file of a bare GBK name in `folder`; nothing for an empty name, a name
// that would lead out of the folder, or a file that does not exist.
std::optional<std::filesystem::path> pictureInFolder(const std::filesystem::path& folder, const std::string& gbkName);

// The picture in `file`, upright; a null image for an empty path or a file that
// is missing or cannot be read.
QImage loadPicture(const std::filesystem::path& file);
// loadPicture of pictureInFolder.
QImage loadPictureInFolder(const std::filesystem::path& folder, const std::string& gbkName);

}  // namespace screen
