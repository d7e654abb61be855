#pragma once
// How the desktop knows the program's windows: the icon of every window
// (_NET_WM_ICON on X11), and the names a dock or task bar matches with the menu
// entry kelvara.desktop — the instance part of WM_CLASS, which the menu entry
// names as its StartupWMClass, and the desktop file name that Wayland and some
// docks use instead.

namespace app {

// The WM_CLASS instance name and the desktop entry's name, "kelvara". X11 takes
// the instance name from the "-name" option of the toolkit, so main() passes it,
// whatever name the program was started by (the executable's Chinese file name
// or the /usr/bin/kelvara link).
inline constexpr char kDesktopName[] = "kelvara";

// Sets the icon of all windows and the desktop file name; after the QApplication
// is made, before the first window.
void setDesktopIdentity();

}  // namespace app
