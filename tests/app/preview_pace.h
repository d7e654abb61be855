#pragma once
// The pace of the console's preview, waited on frame by frame rather than
// counted in a real second: a busy test machine makes the frames come later,
// never closer together.
#include <QElapsedTimer>
#include <QString>
#include <QtTest>

#include "console/draw_preview.h"

namespace console_testing {

// Waits for `frames` more frames of `preview` (each may take up to five
// seconds) and returns an empty string when they came at most once per
// interval of the preview's timer, else what went wrong. The clock starts at
// the frame seen first, so the last frame must lie at least `frames` - 1
// intervals later.
inline QString framesKeepThePreviewsPace(const console::DrawPreview& preview, int frames) {
  const int seen = preview.updateCount();
  if (!QTest::qWaitFor([&] { return preview.updateCount() > seen; }, 5000)) return QStringLiteral("no frame came");
  const int first = preview.updateCount();
  QElapsedTimer clock;
  clock.start();
  for (int k = 1; k <= frames; ++k)
    if (!QTest::qWaitFor([&] { return preview.updateCount() >= first + k; }, 5000))
      return QStringLiteral("the frames stopped after %1").arg(k - 1);
  const qint64 elapsed = clock.elapsed();
  const int taken = preview.updateCount() - first;
  if (elapsed < qint64(taken - 1) * console::DrawPreview::kIntervalMs)
    return QStringLiteral("%1 frames in %2 ms").arg(taken).arg(elapsed);
  return {};
}

}  // namespace console_testing
