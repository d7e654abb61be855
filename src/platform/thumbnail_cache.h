#pragma once
// The desktop's shared thumbnail cache, as the freedesktop.org Thumbnail
// Managing Standard lays it out, at its x-large size: a PNG of at most 512 × 512
// per original file, named by the MD5 of the file's URI, carrying the URI and the
// file's modification time in the text chunks "Thumb::URI" and "Thumb::MTime".
// File managers read and write the same folder, so a photo browsed there
// before the event is not decoded again, and photos the program thumbnailed
// show at once in the file manager.
//
// The cache is only a cache: a thumbnail is trusted only when its URI and time
// (and its size, when it records one) match the original, never when it is
// damaged, made for another file or older than the file; a failed write loses
// nothing and is not reported. Safe to use from several threads at once.
#include <QImage>
#include <QSize>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {

// The original file as the cache knows it.
struct ThumbnailSource {
  std::string uri;         // "file://" and the escaped absolute path
  std::int64_t mtime = 0;  // seconds since the epoch
  std::int64_t size = 0;   // bytes
};

class ThumbnailCache {
 public:
  // The longest side of an x-large thumbnail.
  static constexpr int kLargest = 512;

  // $XDG_CACHE_HOME/thumbnails/x-large; ~/.cache stands for the variable when it
  // is unset, empty or not an absolute path.
  static std::filesystem::path defaultFolder();

  explicit ThumbnailCache(std::filesystem::path folder = defaultFolder());
  const std::filesystem::path& folder() const { return folder_; }

  // The URI, time and size of `file`; nothing when it cannot be looked at.
  static std::optional<ThumbnailSource> describe(const std::filesystem::path& file);
  // Where the thumbnail of the file with this URI lives.
  std::filesystem::path pathFor(const std::string& uri) const;
  // The size of the thumbnail of an original of `original` pixels: the longest
  // side 512, the proportions kept, never enlarged.
  static QSize sizeFor(QSize original);

  // The valid thumbnail of `source` (Format_RGB32, or Format_ARGB32 when the PNG
  // has transparency); null when there is none, when the file is not a readable
  // PNG of at most 512 × 512, or when its URI, time or recorded size differ.
  QImage find(const ThumbnailSource& source) const;
  // Writes `thumbnail` of an original of `original` pixels as the thumbnail of
  // `source`: to a temporary file of the folder, mode 0600, renamed over the old
  // one, so a reader never sees half a file. Creates the folders (mode 0700)
  // when missing. False when anything failed; nothing is left behind then.
  bool store(const ThumbnailSource& source, const QImage& thumbnail, QSize original) const;

 private:
  std::filesystem::path folder_;
};

// "file://" and the path's bytes, escaped as a URI path: letters, digits,
// "-_.!~*'()" and "/:@&=+$," stay, every other byte becomes %XX (upper case).
std::string fileUri(const std::filesystem::path& absolutePath);

}  // namespace platform
