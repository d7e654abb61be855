#pragma once
// The photo tiles of picture draw mode: one prepared picture per person of the
// roster, so that a rolling tick only copies a tile into a picture frame.
//
// Tile k (0-based) belongs to the person with roster serial k + 1. Its picture
// is photo\<name>.jpg in the program folder, or image\sample.jpg when the person
// has none; it is scaled to cover the tile, centred. The display name, when the
// settings show names, is the tile's caption: the picture frame writes it at
// the tile's bottom edge, so that it stays readable on a frame made smaller.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QSize>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace screen {

struct PhotoEntry {
  std::string name;         // GBK: the full roster's name, also the photo's base name
  std::string displayName;  // GBK: the name as shown (privacy mask applied)
};

// Section "图片抽奖" of Config.ini.
struct PhotoTileSettings {
  QSize size{200, 250};
  bool showName = true;
  int fontColor = 0;     // red + 256 × green + 65536 × blue
  int fontSize = 20;     // points; a negative value is a height in pixels
  std::string fontName;  // GBK face name

  // Reads the section from Config.ini (seeded from SysConfig.ini when missing).
  // A width or height below 1 would make tiles that cannot be drawn and reads as
  // the default. Raises base::FileError when Config.ini cannot be read.
  static PhotoTileSettings read(const std::filesystem::path& programDir);
};

// Called on the loading thread with the number of tiles ready so far, in roster
// order: first (0, total), then once for each tile up to (total, total).
using ProgressCallback = std::function<void(int done, int total)>;

// The name written on a tile: `shown` (the display name), centred by the width
// of `measured` (the full name, so a masked name stays where the name stood).
struct TileCaption {
  QString measured;
  QString shown;
};

class PhotoTiles {
 public:
  // Builds the tiles for the roster unless tiles are loaded already. Photos are
  // decoded on all cores; the call returns when every tile is ready. A name that
  // would lead out of the photo folder (a separator, "..") is never looked up:
  // that person gets the sample tile. A photo that exists but cannot be decoded
  // also gets the sample tile and is listed in unreadableFiles(); when the sample
  // itself is missing or unreadable those tiles are white.
  void load(const std::filesystem::path& programDir, const std::vector<PhotoEntry>& roster,
            const ProgressCallback& progress = {});
  void clear();

  bool loaded() const { return !tiles_.empty(); }
  int count() const { return static_cast<int>(tiles_.size()); }
  // Requires 0 <= index < count().
  const QImage& tile(int index) const { return tiles_[static_cast<std::size_t>(index)]; }
  // Empty when the settings show no names. Requires 0 <= index < count().
  const TileCaption& caption(int index) const { return captions_[static_cast<std::size_t>(index)]; }
  // The captions' font and colour of the last load.
  const QFont& captionFont() const { return captionFont_; }
  const QColor& captionColour() const { return captionColour_; }
  // The tile size of the last load (the settings' default before one).
  QSize tileSize() const { return tileSize_; }
  // Photos found but not decodable during the last load, and the sample when it
  // was needed and could not be read, so the operator can be told what to replace.
  const std::vector<std::filesystem::path>& unreadableFiles() const { return unreadable_; }

 private:
  std::vector<QImage> tiles_;
  std::vector<TileCaption> captions_;
  QFont captionFont_;
  QColor captionColour_;
  QSize tileSize_{200, 250};
  std::vector<std::filesystem::path> unreadable_;
};

// The caption font of the settings: points at 96 dots per inch, as the settings
// were made, whatever the screen.
QFont tileCaptionFont(const PhotoTileSettings& settings);
// Writes `shown` on the tile, centred by the width of `measured` (the full name,
// so a masked name stays where the name stood), its bottom on the tile's bottom.
void drawTileCaption(QImage& tile, const QString& measured, const QString& shown, const QFont& font,
                     const QColor& colour);
// The same on a painter whose tile of size `tile` stands at (0, 0).
void drawTileCaption(QPainter& painter, QSize tile, const QString& measured, const QString& shown,
                     const QFont& font, const QColor& colour);

}  // namespace screen
