#pragma once
// Writing a roster photo: the chosen picture scaled to the compression height,
// its width in proportion, stored as JPEG at quality 90. Photos from cameras are
// several thousand pixels tall and a stored photo a few hundred, so the decoder
// is asked for the reduced size (the DCT scaling of the JPEG reader).
#include <QImage>
#include <QString>
#include <filesystem>

namespace dialogs {

inline constexpr int kPhotoQuality = 90;

// Scales `source` to `height` pixels high and writes it to `target`, replacing
// it atomically (the old photo or the new one, never a torn file). Returns an
// empty text on success, else the message for the operator; nothing is written
// then.
QString writeScaledPhoto(const std::filesystem::path& source, const std::filesystem::path& target, int height);

// The same scaling from a full-size decode; the baseline of the benchmark.
QImage scaledPhotoFullDecode(const std::filesystem::path& source, int height);

}  // namespace dialogs
