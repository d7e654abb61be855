// Photo tiles for 300 camera-sized photos (4000 × 3000, generated here), on all
// cores unless said otherwise:
//  - FIRST: the program's load with an empty thumbnail cache: each photo
//    mapped and handed whole to libjpeg-turbo, which decodes it at one eighth in
//    the DCT, and its thumbnail written to the cache;
//  - FLOOR: libjpeg-turbo entropy-decoding the same files and nothing else (the
//    Huffman codes cannot be skipped; every decode of a photo pays this);
//  - CACHED: the load again, every tile made from the thumbnail the first run
//    wrote;
// each the median of three rounds, the three taken in turn in every round. The
// table beside them sets the program against two more baselines of the same run:
// the same decode through Qt's reader (readCovering, which feeds the library
// through a device) and decoding each photo at full size and scaling it. Every
// ratio sets the same number of cores against each other. Prints figures only.
// The photos and the thumbnails are in the page cache for every load.
//
// Usage: photo_tiles_bench [photo count]
#include <sys/resource.h>

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "platform/font_substitutions.h"
#include "platform/qt_gbk.h"
#include "platform/thumbnail_cache.h"
#include "screen/photo_tiles.h"
#include "screen/picture_scaling.h"
#include "test_photos.h"
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kVariants = 4;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The CPU time of every thread of the process so far: beside the wall times, a
// figure that other programs running on the machine do not stretch.
double processCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

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

struct FloorErrors {
  jpeg_error_mgr library;
  std::jmp_buf back;
};
void floorErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<FloorErrors*>(info->err)->back, 1); }

bool skipEverything(jpeg_decompress_struct& info, FloorErrors& errors, const uchar* data, qint64 size) {
  if (setjmp(errors.back)) return false;
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.scale_num = 1;
  info.scale_denom = 8;
  info.do_fancy_upsampling = FALSE;
  jpeg_start_decompress(&info);
  // Skipped lines are entropy-decoded with their coefficients thrown away: no
  // transform, no upsampling, no colour conversion. The last line is read, as
  // the library skips no further.
  jpeg_skip_scanlines(&info, info.output_height - 1);
  std::vector<JSAMPLE> line(std::size_t(info.output_width) * std::size_t(info.output_components));
  JSAMPROW row = line.data();
  jpeg_read_scanlines(&info, &row, 1);
  jpeg_finish_decompress(&info);
  return true;
}

// The floor: the file mapped as the program maps it and entropy-decoded by
// libjpeg-turbo, nothing more.
bool entropyDecode(const fs::path& file) {
  QFile input(platform::toQString(file));
  if (!input.open(QIODevice::ReadOnly)) return false;
  const qint64 size = input.size();
  const uchar* data = input.map(0, size);
  if (!data) return false;
  jpeg_decompress_struct info{};
  FloorErrors errors{};
  info.err = jpeg_std_error(&errors.library);
  errors.library.error_exit = floorErrorExit;
  jpeg_create_decompress(&info);
  const bool done = skipEverything(info, errors, data, size);
  jpeg_destroy_decompress(&info);
  return done;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
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
  // The thumbnails go to a folder of the run, never to the user's cache.
  QTemporaryDir cacheHome;
  qputenv("XDG_CACHE_HOME", cacheHome.path().toUtf8());
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

  double lastCpu = 0;  // the CPU time of the last timed run
  auto timeProgram = [&](int threads) {
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    screen::PhotoTiles tiles;
    const double cpu = processCpuSeconds();
    const auto start = Clock::now();
    tiles.load(programDir, roster);
    const double seconds = secondsSince(start);
    lastCpu = processCpuSeconds() - cpu;
    QThreadPool::globalInstance()->setMaxThreadCount(cores);
    return seconds;
  };
  // Runs work(photo file, name) over every photo on `threads` threads: the wall
  // seconds, with the CPU seconds of all threads left in lastCpu.
  auto timeEachPhoto = [&](int threads, auto work) {
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    QList<int> indices;
    for (int k = 0; k < count; ++k) indices.push_back(k);
    const double cpu = processCpuSeconds();
    const auto start = Clock::now();
    const auto results = QtConcurrent::blockingMapped(indices, [&](int k) {
      const std::string& name = names[std::size_t(k)];
      return work(programDir / "photo" / (base::gbkToUtf8(name) + ".jpg"), name);
    });
    const double seconds = secondsSince(start);
    lastCpu = processCpuSeconds() - cpu;
    QThreadPool::globalInstance()->setMaxThreadCount(cores);
    return std::pair{seconds, results};
  };
  const QFont captionFont = screen::tileCaptionFont(screen::PhotoTileSettings::read(programDir));
  auto timeLibraryReduced = [&](int threads) {
    return timeEachPhoto(threads,
                         [&](const fs::path& file, const std::string& name) {
                           return libraryReducedTile(file, name, tile, captionFont);
                         })
        .first;
  };
  auto timeFullSize = [&](int threads) {
    return timeEachPhoto(threads,
                         [&](const fs::path& file, const std::string& name) { return fullSizeTile(file, name, tile); })
        .first;
  };

  const fs::path thumbnails = platform::ThumbnailCache::defaultFolder();
  auto emptyCache = [&] {
    std::error_code ec;
    fs::remove_all(thumbnails, ec);
  };
  auto timeFloor = [&](int threads) {
    const auto [seconds, decoded] =
        timeEachPhoto(threads, [](const fs::path& file, const std::string&) { return entropyDecode(file); });
    if (decoded.count(true) != count) std::printf("  the floor could not decode every photo\n");
    return seconds;
  };

  std::vector<double> floors, firsts, cacheds, floorCpus, firstCpus, cachedCpus;
  for (int round = 0; round < 3; ++round) {
    floors.push_back(timeFloor(cores));
    floorCpus.push_back(lastCpu);
    emptyCache();
    firsts.push_back(timeProgram(cores));
    firstCpus.push_back(lastCpu);
    cacheds.push_back(timeProgram(cores));
    cachedCpus.push_back(lastCpu);
  }
  std::uintmax_t cacheBytes = 0;
  int cacheFiles = 0;
  for (const auto& entry : fs::directory_iterator(thumbnails)) {
    cacheBytes += entry.file_size();
    ++cacheFiles;
  }
  const double reducedAll = median(firsts);
  const double floorAll = median(floors);
  const double cachedAll = median(cacheds);
  emptyCache();
  const double reducedOne = timeProgram(1);
  const double floorOne = timeFloor(1);
  const double libraryAll = timeLibraryReduced(cores);
  const double libraryOne = timeLibraryReduced(1);
  const double fullOne = timeFullSize(1);
  const double fullAll = timeFullSize(cores);

  // Like-for-like ratios first (the same number of cores on both sides); the
  // mixed one-core-against-all-cores ratio mixes the decode gain with the
  // cores' gain and comes last, labelled so.
  std::printf("tiles of %d x %d with captions, %d photos, %d cores\n", tile.width(), tile.height(), count, cores);
  std::printf("  ratio first run / floor, all cores against all cores:  %.2f x\n", reducedAll / floorAll);
  std::printf("  ratio first run / floor, one core against one core:    %.2f x\n", reducedOne / floorOne);
  std::printf("  ratio first run / cached run, all cores:               %.1f x\n", reducedAll / cachedAll);
  std::printf("  ratio Qt reader / program, one core against one core:   %.2f x\n", libraryOne / reducedOne);
  std::printf("  ratio Qt reader / program, all cores against all cores: %.2f x\n", libraryAll / reducedAll);
  std::printf("  ratio full-size decode / program, one core against one core:   %.1f x\n", fullOne / reducedOne);
  std::printf("  ratio full-size decode / program, all cores against all cores: %.1f x\n", fullAll / reducedAll);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "program, first run (decode + thumbnail), all cores:", reducedAll,
              reducedAll * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "program, first run, one core:", reducedOne,
              reducedOne * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "floor: entropy decoding alone, all cores:", floorAll,
              floorAll * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "floor: entropy decoding alone, one core:", floorOne,
              floorOne * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "program, cached run (thumbnails), all cores:", cachedAll,
              cachedAll * 1000 / count);
  std::printf("  thumbnail cache after the first run: %d files, %.1f MB\n", cacheFiles, double(cacheBytes) / 1e6);
  std::printf("  CPU time of all threads: first run %.2f s, floor %.2f s, cached run %.2f s; first / floor %.2f x\n",
              median(firstCpus), median(floorCpus), median(cachedCpus), median(firstCpus) / median(floorCpus));
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "Qt reader at one eighth (readCovering), all cores:", libraryAll,
              libraryAll * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "Qt reader at one eighth (readCovering), one core:", libraryOne,
              libraryOne * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "full-size decode and scale, all cores:", fullAll,
              fullAll * 1000 / count);
  std::printf("  %-52s %7.2f s  %6.1f ms/photo\n", "full-size decode and scale, one core:", fullOne,
              fullOne * 1000 / count);
  std::printf("  mixed: full-size on one core / the program on all cores: %.1f x\n", fullOne / reducedAll);
  std::printf("FIRST %.3f\nFLOOR %.3f\nCACHED %.3f\n", reducedAll, floorAll, cachedAll);
  return 0;
}
