// Photo tiles for 300 camera-sized photos (4000 × 3000, generated here): the
// program's load (each photo mapped and handed whole to libjpeg-turbo, which
// decodes it at one eighth in the DCT, on all cores) against two baselines
// measured in the same run: the same decode through Qt's reader (readCovering,
// what the load did before, which feeds the library through a device) and
// decoding each photo at full size and scaling it. Every ratio sets the same
// number of cores against each other. Prints figures only.
//
// Usage: photo_tiles_bench [photo count]
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "platform/font_substitutions.h"
#include "platform/qt_gbk.h"
#include "screen/photo_tiles.h"
#include "screen/picture_scaling.h"
#include "test_photos.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kVariants = 4;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Writes kVariants photos and links the rest of the names to them: the decoder
// does the same work for every name, and the folder stays small on disk.
std::vector<std::string> makePhotoFolder(const fs::path& programDir, int count) {
  const fs::path photos = programDir / "photo";
  fs::create_directories(photos);
  std::vector<fs::path> originals;
  for (int v = 0; v < kVariants; ++v) {
    originals.push_back(photos / ("original" + std::to_string(v) + ".jpg"));
    bench_support::writeJpeg(originals.back(), bench_support::makeCameraPhoto(v), 85);
  }
  std::vector<std::string> names;
  for (int k = 0; k < count; ++k) {
    const std::string name = "员工" + std::to_string(k + 1);
    const fs::path file = photos / (name + ".jpg");
    std::error_code ec;
    fs::create_hard_link(originals[k % kVariants], file, ec);
    if (ec) fs::copy_file(originals[k % kVariants], file, fs::copy_options::overwrite_existing);
    names.push_back(base::utf8ToGbk(name));
  }
  return names;
}

// The JPEG library's reduced-size decode through Qt's reader, as the load did it
// before: readCovering and the caption.
QImage libraryReducedTile(const fs::path& file, const std::string& gbkName, QSize tile, const QFont& font) {
  QImage result = screen::readCovering(file, tile);
  screen::drawTileCaption(result, platform::fromGbk(gbkName), platform::fromGbk(gbkName), font, Qt::black);
  return result;
}

// The plain way: decode the whole photo, scale it to cover the tile, draw the
// caption; one photo after the other or spread over the pool.
QImage fullSizeTile(const fs::path& file, const std::string& gbkName, QSize tile) {
  QImage photo(platform::toQString(file));
  const screen::Placement placement = screen::coverPlacement(photo.size(), tile);
  QImage result(tile, QImage::Format_RGB32);
  QPainter painter(&result);
  painter.drawImage(placement.offset, photo.scaled(placement.scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  painter.setFont(QFont(QStringLiteral("黑体"), 20));
  painter.drawText(QRect(QPoint(0, 0), tile), Qt::AlignHCenter | Qt::AlignBottom, platform::fromGbk(gbkName));
  return result;
}

void warmCache(const fs::path& folder) {
  std::vector<char> buffer(1 << 20);
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    while (in.read(buffer.data(), std::streamsize(buffer.size()))) {
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  platform::installFontSubstitutions();
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;

  QTemporaryDir dir;
  const fs::path programDir = dir.path().toStdString();
  const auto generated = Clock::now();
  const std::vector<std::string> names = makePhotoFolder(programDir, count);
  std::printf("generated %d photos of 4000 x 3000 (%d distinct, JPEG quality 85, %.1f MB each) in %.1f s\n", count,
              kVariants, double(fs::file_size(programDir / "photo" / "original0.jpg")) / 1e6, secondsSince(generated));
  warmCache(programDir / "photo");

  std::vector<screen::PhotoEntry> roster;
  for (const std::string& name : names) roster.push_back({name, name});
  const QSize tile = screen::PhotoTileSettings::read(programDir).size;
  const int cores = QThreadPool::globalInstance()->maxThreadCount();

  auto timeProgram = [&](int threads) {
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    screen::PhotoTiles tiles;
    const auto start = Clock::now();
    tiles.load(programDir, roster);
    const double seconds = secondsSince(start);
    QThreadPool::globalInstance()->setMaxThreadCount(cores);
    return seconds;
  };
  auto timeMapped = [&](int threads, auto makeTile) {
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    QList<int> indices;
    for (int k = 0; k < count; ++k) indices.push_back(k);
    const auto start = Clock::now();
    const QList<QImage> tiles = QtConcurrent::blockingMapped(indices, [&](int k) {
      return makeTile(programDir / "photo" / (base::gbkToUtf8(names[std::size_t(k)]) + ".jpg"), names[std::size_t(k)]);
    });
    const double seconds = secondsSince(start);
    QThreadPool::globalInstance()->setMaxThreadCount(cores);
    return seconds;
  };
  const QFont captionFont = screen::tileCaptionFont(screen::PhotoTileSettings::read(programDir));
  auto timeLibraryReduced = [&](int threads) {
    return timeMapped(threads, [&](const fs::path& file, const std::string& name) {
      return libraryReducedTile(file, name, tile, captionFont);
    });
  };
  auto timeFullSize = [&](int threads) {
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    QList<int> indices;
    for (int k = 0; k < count; ++k) indices.push_back(k);
    const auto start = Clock::now();
    const QList<QImage> tiles = QtConcurrent::blockingMapped(indices, [&](int k) {
      return fullSizeTile(programDir / "photo" / (base::gbkToUtf8(names[std::size_t(k)]) + ".jpg"),
                          names[std::size_t(k)], tile);
    });
    const double seconds = secondsSince(start);
    QThreadPool::globalInstance()->setMaxThreadCount(cores);
    return seconds;
  };

  const double reducedAll = timeProgram(cores);
  const double reducedOne = timeProgram(1);
  const double libraryAll = timeLibraryReduced(cores);
  const double libraryOne = timeLibraryReduced(1);
  const double fullOne = timeFullSize(1);
  const double fullAll = timeFullSize(cores);

  // Like-for-like ratios first (the same number of cores on both sides); the
  // mixed one-core-against-all-cores ratio mixes the decode gain with the
  // cores' gain and comes last, labelled so.
  std::printf("tiles of %d x %d with captions, %d photos, %d cores\n", tile.width(), tile.height(), count, cores);
  std::printf("  ratio Qt reader / program, one core against one core:   %.2f x\n", libraryOne / reducedOne);
  std::printf("  ratio Qt reader / program, all cores against all cores: %.2f x\n", libraryAll / reducedAll);
  std::printf("  ratio full-size decode / program, one core against one core:   %.1f x\n", fullOne / reducedOne);
  std::printf("  ratio full-size decode / program, all cores against all cores: %.1f x\n", fullAll / reducedAll);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "program (whole file to libjpeg-turbo, all cores):", reducedAll,
              reducedAll * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "program, one core:", reducedOne, reducedOne * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "Qt reader at one eighth (readCovering), all cores:", libraryAll,
              libraryAll * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "Qt reader at one eighth (readCovering), one core:", libraryOne,
              libraryOne * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "full-size decode and scale, all cores:", fullAll,
              fullAll * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "full-size decode and scale, one core:", fullOne,
              fullOne * 1000 / count);
  std::printf("  mixed: full-size on one core / the program on all cores: %.1f x\n", fullOne / reducedAll);
  return 0;
}
