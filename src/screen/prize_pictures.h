#pragma once
// The prize pictures of the award table's column 7 ("奖品图片": a full path or a
// file name in the prize folder, GBK).
//
// In award rolling mode every tick shows the picture of a random award, so all of
// them are prepared once, fitted into the PrizePic box. In people rolling mode
// only the current award's picture is shown, read when the award is chosen.
#include <QImage>
#include <QSize>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace screen {

class PrizePictures {
 public:
  // One picture per award row, in row order (picture k is the award of row k + 1),
  // each fitted into `box` and centred with transparent borders. A row whose
  // picture cannot be read, not even the shipped prize\exp.jpg, gets a fully
  // transparent picture, so that indices stay those of the rows.
  void load(const std::filesystem::path& programDir, const std::vector<std::string>& pictureCells, QSize box);
  void clear() { pictures_.clear(); }

  bool loaded() const { return !pictures_.empty(); }
  int count() const { return static_cast<int>(pictures_.size()); }
  // Requires 0 <= index < count().
  const QImage& picture(int index) const { return pictures_[static_cast<std::size_t>(index)]; }

  // The file the award rolling list takes for a cell: a cell not ending in ".jpg"
  // (any case) takes prize\exp.jpg; a file that does not exist gives way to
  // prize\<cell>, and that to prize\exp.jpg. The result may not exist.
  static std::filesystem::path rollingPictureFile(const std::filesystem::path& programDir, std::string_view cell);

  // The file of the current award in people rolling mode: the cell as a path
  // (absolute, or relative to the program folder), else prize\<cell>; none when
  // neither is a file.
  static std::optional<std::filesystem::path> awardPictureFile(const std::filesystem::path& programDir,
                                                               std::string_view cell);
  // That picture stretched to the PrizePic box, as the box shows it; a null image
  // leaves the box empty (no file, or not a picture Qt reads).
  static QImage awardPicture(const std::filesystem::path& programDir, std::string_view cell, QSize box);

 private:
  std::vector<QImage> pictures_;
};

}  // namespace screen
