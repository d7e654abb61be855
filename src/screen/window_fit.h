#pragma once
// Setup windows open on the operator's laptop, often 1366×768, 1280×720 or even
// 1024×600, with a window manager's title bar above them and a desktop panel
// below. A window taller than what is left puts its 确定 under the panel.
class QRect;
class QSize;
class QWidget;

namespace screen {

// Height kept free for a title bar (about 36 px with its frame) and a 40 px panel.
inline constexpr int kTitleBarAndPanel = 76;
// Width kept free for the window's side frames.
inline constexpr int kSideFrames = 16;

// The largest window that fits into `available` with its title bar and a panel.
QSize roomOnScreen(const QRect& available);
// Shrinks `window` (never below its minimum) to fit roomOnScreen(available).
void fitToScreen(QWidget& window, const QRect& available);
// The same on the available area of the screen the window shows on.
void fitToScreen(QWidget& window);

}  // namespace screen
