#include "screen/photo_tiles.h"

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QtConcurrent/QtConcurrentMap>
#include <cstdlib>
#include <numeric>
#include <unordered_map>

#include "base/config_files.h"
#include "base/gbk.h"
#include "base/paths.h"
#include "platform/qt_gbk.h"
#include "platform/thumbnail_cache.h"
#include "screen/photo_tiles_jpeg.h"
#include "screen/picture_scaling.h"
#include "styledtext/qt_rasteriser.h"

namespace screen {

namespace fs = std::filesystem;

namespace {

// Larger tiles than any screen only cost memory, once per person.
constexpr int kLargestTileSide = 4096;

int sideOrDefault(int value, int fallback) { return value < 1 || value > kLargestTileSide ? fallback : value; }

std::string foldAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The photo folder listed once: a roster of thousands would otherwise scan the
// folder again for every person without a photo to match names without regard
// to case.
class PhotoFolder {
 public:
  explicit PhotoFolder(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code typeError;
      if (!it->is_regular_file(typeError)) continue;
      const std::string name = it->path().filename().string();
      exact_.emplace(name, it->path());
      folded_.emplace(foldAscii(name), it->path());
    }
  }

  // The file of a UTF-8 name, exact spelling first; empty when there is none.
  fs::path find(const std::string& utf8Name) const {
    if (auto it = exact_.find(utf8Name); it != exact_.end()) return it->second;
    if (auto it = folded_.find(foldAscii(utf8Name)); it != folded_.end()) return it->second;
    return {};
  }

 private:
  std::unordered_map<std::string, fs::path> exact_;
  std::unordered_map<std::string, fs::path> folded_;
};

// A decoded picture scaled to `placement` on a white tile.
QImage coverTile(const QImage& picture, const Placement& placement, QSize box) {
  QImage result(box, QImage::Format_RGB32);
  result.fill(Qt::white);
  QPainter painter(&result);
  if (picture.size() == placement.scaled)
    painter.drawImage(placement.offset, picture);
  else
    painter.drawImage(placement.offset,
                      picture.scaled(placement.scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  return result;
}

// Whether `picture` covers the tile without being enlarged.
bool covers(QSize picture, QSize box) {
  const QSize needed = coverPlacement(picture, box).scaled;
  return needed.width() <= picture.width() && needed.height() <= picture.height();
}

// Whether a thumbnail has the photo's proportions, but for the rounding of its
// sides: not one turned upright from a photo stored on its side, nor a cropped one.
bool proportional(QSize thumbnail, QSize photo) {
  const long long across = static_cast<long long>(thumbnail.width()) * photo.height();
  const long long down = static_cast<long long>(thumbnail.height()) * photo.width();
  return std::abs(across - down) <= std::max(photo.width(), photo.height());
}

// A thumbnail is taken from the photo's decode as it is when that is within a
// sixteenth of the thumbnail's full size and no larger: a 4000-pixel camera
// photo decoded at an eighth for its tile (500 pixels) gives its thumbnail
// without another decode or scaling, which would cost every first run more
// than the missing pixels are worth.
bool closeEnough(QSize picture, QSize thumbnail) {
  const int have = std::max(picture.width(), picture.height());
  const int full = std::max(thumbnail.width(), thumbnail.height());
  return have <= full && have >= full - full / 16;
}

// The smallest eighths whose decode gives at least what closeEnough() asks.
int eighthsForThumbnail(QSize source, QSize thumbnail) {
  const int longest = std::max(source.width(), source.height());
  const int full = std::max(thumbnail.width(), thumbnail.height());
  for (int eighths = 1; eighths < 8; ++eighths)
    if ((longest * eighths + 7) / 8 >= full - full / 16) return eighths;
  return 8;
}

// The tile of a photo. A valid thumbnail of the desktop's cache that covers the
// tile gives it without decoding the photo; otherwise the photo is decoded,
// through JpegFile when it is a JPEG that reader takes, else through
// readCovering(), and a JPEG without a valid thumbnail gets one. The tile is
// then made from that thumbnail, so a later run that finds it makes the same
// tile. Photos stored turned (an EXIF orientation) are left out of the cache:
// their tiles show the stored pixels, the desktop's thumbnails the turned ones.
// Null when the photo cannot be read.
QImage readTilePicture(const fs::path& file, QSize box, const platform::ThumbnailCache& cache) {
  if (box.isEmpty()) return {};
  const JpegFile jpeg(file);
  if (!jpeg.readable()) return readCovering(file, box);
  const std::optional<platform::ThumbnailSource> source =
      jpeg.orientation() == 1 ? platform::ThumbnailCache::describe(file) : std::nullopt;
  QImage thumbnail = source ? cache.find(*source) : QImage();
  auto tileOfThumbnail = [&] { return coverTile(thumbnail, coverPlacement(thumbnail.size(), box), box); };
  const bool usable = !thumbnail.isNull() && proportional(thumbnail.size(), jpeg.size());
  if (usable && covers(thumbnail.size(), box)) return tileOfThumbnail();

  const Placement placement = coverPlacement(jpeg.size(), box);
  int eighths = JpegFile::eighthsFor(jpeg.size(), placement.scaled);
  // A usable thumbnail too small for the tile stays; one of other proportions is replaced.
  const bool storeThumbnail = source && !usable;
  const QSize thumbnailSize = platform::ThumbnailCache::sizeFor(jpeg.size());
  if (storeThumbnail) eighths = std::max(eighths, eighthsForThumbnail(jpeg.size(), thumbnailSize));
  // Each worker decodes into the pixels of its last photo when the size is the same.
  thread_local QImage lastPicture;
  const QImage picture = jpeg.decode(eighths, &lastPicture);
  lastPicture = picture;
  if (picture.isNull()) return readCovering(file, box);
  if (storeThumbnail) {
    thumbnail = closeEnough(picture.size(), thumbnailSize)
                    ? picture
                    : picture.scaled(thumbnailSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    cache.store(*source, thumbnail, jpeg.size());
    if (covers(thumbnail.size(), box)) return tileOfThumbnail();
  }
  return coverTile(picture, placement, box);
}

struct TilePicture {
  QImage picture;  // null: the sample stands in
  fs::path unreadable;
};

}  // namespace

QFont tileCaptionFont(const PhotoTileSettings& settings) {
  QFont font(platform::fromGbk(settings.fontName));
  if (settings.fontSize > 0)
    font.setPixelSize(std::max(1, (settings.fontSize * 96 + 36) / 72));
  else if (settings.fontSize < 0)
    font.setPixelSize(-settings.fontSize);
  return font;
}

void drawTileCaption(QPainter& painter, QSize tile, const QString& measured, const QString& shown, const QFont& font,
                     const QColor& colour) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(measured);
  const int left = tile.width() / 2 - width / 2;
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(QPoint(left, tile.height() - metrics.descent()), shown);
}

void drawTileCaption(QImage& tile, const QString& measured, const QString& shown, const QFont& font,
                     const QColor& colour) {
  QPainter painter(&tile);
  drawTileCaption(painter, tile.size(), measured, shown, font, colour);
}

PhotoTileSettings PhotoTileSettings::read(const fs::path& programDir) {
  const base::IniFile ini = base::ConfigFiles(programDir).openConfig();
  const std::string section = base::utf8ToGbk("图片抽奖");
  PhotoTileSettings settings;
  settings.size = QSize(sideOrDefault(ini.readInt(section, "Width", 200), 200),
                        sideOrDefault(ini.readInt(section, "Height", 250), 250));
  settings.showName = ini.readBool(section, "ShowName", true);
  settings.fontColor = ini.readInt(section, "Font.Color", 0);
  settings.fontSize = ini.readInt(section, "Font.Size", 20);
  settings.fontName = ini.readString(section, "Font.Name", base::utf8ToGbk("黑体"));
  return settings;
}

void PhotoTiles::load(const fs::path& programDir, const std::vector<PhotoEntry>& roster,
                      const ProgressCallback& progress) {
  if (loaded()) return;
  const PhotoTileSettings settings = PhotoTileSettings::read(programDir);
  tileSize_ = settings.size;
  unreadable_.clear();
  const int total = static_cast<int>(roster.size());
  if (progress) progress(0, total);
  if (total == 0) return;

  const fs::path samplePath = base::joinGbk(programDir, "image\\sample.jpg");
  QImage sample = readCovering(samplePath, tileSize_);
  const bool sampleReadable = !sample.isNull();
  bool sampleNeeded = false;
  if (!sampleReadable) {
    sample = QImage(tileSize_, QImage::Format_RGB32);
    sample.fill(Qt::white);
  }

  const PhotoFolder folder(base::findIgnoringCase(programDir, "photo"));
  const platform::ThumbnailCache cache;
  const QSize size = tileSize_;
  auto readTile = [&roster, &folder, &cache, size](int index) {
    TilePicture result;
    const std::string& name = roster[static_cast<std::size_t>(index)].name;
    if (base::isUnsafeBareName(name)) return result;
    const fs::path file = folder.find(base::gbkToUtf8(name) + ".jpg");
    if (file.empty()) return result;
    result.picture = readTilePicture(file, size, cache);
    if (result.picture.isNull()) result.unreadable = file;
    return result;
  };

  QList<int> indices(total);
  std::iota(indices.begin(), indices.end(), 0);
  QFuture<TilePicture> pictures = QtConcurrent::mapped(indices, readTile);
  // The workers read `roster` and `folder`: they must be done before either goes,
  // also when the progress callback throws.
  struct WaitForWorkers {
    QFuture<TilePicture>& future;
    ~WaitForWorkers() {
      future.cancel();
      future.waitForFinished();
    }
  } waitForWorkers{pictures};

  std::vector<QImage> tiles;
  std::vector<TileCaption> captions;
  tiles.reserve(roster.size());
  captions.reserve(roster.size());
  for (int k = 0; k < total; ++k) {
    TilePicture result = pictures.resultAt(k);
    if (!result.unreadable.empty()) unreadable_.push_back(result.unreadable);
    if (result.picture.isNull()) {
      result.picture = sample;
      sampleNeeded = true;
    }
    const PhotoEntry& entry = roster[static_cast<std::size_t>(k)];
    captions.push_back(settings.showName
                           ? TileCaption{platform::fromGbk(entry.name), platform::fromGbk(entry.displayName)}
                           : TileCaption{});
    tiles.push_back(std::move(result.picture));
    if (progress) progress(k + 1, total);
  }
  if (sampleNeeded && !sampleReadable) unreadable_.push_back(samplePath);
  tiles_ = std::move(tiles);
  captions_ = std::move(captions);
  captionFont_ = tileCaptionFont(settings);
  captionColour_ = styledtext::qtColour(settings.fontColor);
}

void PhotoTiles::clear() {
  tiles_.clear();
  captions_.clear();
  unreadable_.clear();
}

}  // namespace screen
