#pragma once
// Reads a picture already scaled to the box it will be shown in. Photos from
// cameras are several thousand pixels wide and a tile is a few hundred: asking
// the reader for the target size lets the JPEG decoder scale in the DCT
// (1/2, 1/4, 1/8), which is far quicker than decoding at full size.
#include <QImage>
#include <QSize>
#include <filesystem>

namespace screen {

// The picture scaled by s = max(W / w, H / h) so that it covers the box, centred
// with the overflow cut equally from both sides. Returns an opaque box-sized
// image (Format_RGB32; transparent parts of the picture show white), or a null
// image when the file cannot be read as a picture. Safe on any thread.
QImage readCovering(const std::filesystem::path& file, QSize box);

// The picture scaled by s = min(W / w, H / h) so that it fits inside the box,
// centred with transparent borders on two sides (Format_ARGB32_Premultiplied).
// Null when the file cannot be read as a picture. Safe on any thread.
QImage readFitting(const std::filesystem::path& file, QSize box);

// The picture stretched to exactly the box, ignoring its proportions. Null when
// the file cannot be read. Safe on any thread.
QImage readStretched(const std::filesystem::path& file, QSize box);

// Scaled size and offset of a w × h picture covering or fitting a box, with the
// sizes and the offsets taken to the nearest whole pixel.
struct Placement {
  QSize scaled;
  QPoint offset;
};
Placement coverPlacement(QSize picture, QSize box);
Placement fitPlacement(QSize picture, QSize box);

}  // namespace screen
