#include "screen/prize_pictures.h"

#include "base/gbk.h"
#include "base/paths.h"
#include "screen/picture_scaling.h"

namespace screen {

namespace fs = std::filesystem;

namespace {


// The cell as a path: absolute as it stands, otherwise inside the program folder.
fs::path cellAsPath(const fs::path& programDir, std::string_view cell) {
  if (cell.empty()) return {};
  const fs::path asGiven(base::gbkToUtf8(cell));
  if (asGiven.is_absolute()) return asGiven;
  return base::joinGbk(programDir, cell);
}

fs::path inPrizeFolder(const fs::path& programDir, std::string_view cell) {
  if (cell.empty()) return {};
  return base::joinGbk(base::findIgnoringCase(programDir, "prize"), cell);
}

bool endsWithJpg(std::string_view cell) {
  const std::string folded = base::foldLatinCase(cell);
  return folded.size() >= 4 && folded.compare(folded.size() - 4, 4, ".jpg") == 0;
}

}  // namespace

fs::path PrizePictures::rollingPictureFile(const fs::path& programDir, std::string_view cell) {
  const fs::path fallback = base::joinGbk(programDir, "prize\\exp.jpg");
  const fs::path taken = endsWithJpg(cell) ? cellAsPath(programDir, cell) : fallback;
  if (base::isFile(taken)) return taken;
  const fs::path inFolder = inPrizeFolder(programDir, cell);
  if (base::isFile(inFolder)) return inFolder;
  return fallback;
}

std::optional<fs::path> PrizePictures::awardPictureFile(const fs::path& programDir, std::string_view cell) {
  if (const fs::path asGiven = cellAsPath(programDir, cell); base::isFile(asGiven)) return asGiven;
  if (const fs::path inFolder = inPrizeFolder(programDir, cell); base::isFile(inFolder)) return inFolder;
  return std::nullopt;
}

QImage PrizePictures::awardPicture(const fs::path& programDir, std::string_view cell, QSize box) {
  const std::optional<fs::path> file = awardPictureFile(programDir, cell);
  if (!file) return {};
  return readStretched(*file, box);
}

void PrizePictures::load(const fs::path& programDir, const std::vector<std::string>& pictureCells, QSize box) {
  std::vector<QImage> pictures;
  pictures.reserve(pictureCells.size());
  for (const std::string& cell : pictureCells) {
    QImage picture = readFitting(rollingPictureFile(programDir, cell), box);
    if (picture.isNull() && !box.isEmpty()) {
      picture = QImage(box, QImage::Format_ARGB32_Premultiplied);
      picture.fill(Qt::transparent);
    }
    pictures.push_back(std::move(picture));
  }
  pictures_ = std::move(pictures);
}

}  // namespace screen
