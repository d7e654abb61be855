#!/usr/bin/env bash
# Builds the Debian package from an existing build folder and checks what a user
# gets: the files (program folder, modules, launcher, desktop entry, icons,
# manual pages, documents), the dependencies, a lintian run without errors or
# warnings (pedantic notes only where packaging/lintian-overrides explains them),
# the manual pages, and no build path in the installed code. Then, as root, the
# package is installed over /usr in a private mount namespace (an overlay, so the
# machine's /usr is untouched and every write under /usr is caught) and the
# installed program is run as root with its home and XDG folders in a scratch
# place: --help, --version and a refused argument answer without a window; under
# Xvfb the window carries the icon and the menu entry's window class; and after
# it ends, nothing under /usr was written, the package's checksums hold, and the
# event is in the user's data folder without the modules.
set -euo pipefail
cd "$(dirname "$0")/../.."
root_dir=$(pwd)
build=${1:-build}
build_dir=$(cd "$build" && pwd)

cmake --build "$build" --target package >/dev/null
deb=$(ls -t "$build"/kelvara_*.deb | head -n 1)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
modules=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/kelvara

faults=0
fault() {
  echo "package_check: $*"
  faults=$((faults + 1))
}

for path in usr/bin/kelvara usr/lib/kelvara/Kelvara抽奖软件 usr/lib/kelvara/SysConfig.ini \
  "$modules/libkv_sound.so" "$modules/libkv_workbook.so" \
  usr/lib/kelvara/NameList.txt usr/lib/kelvara/music/背景音乐.wav usr/lib/kelvara/help.html \
  usr/share/applications/kelvara.desktop usr/share/icons/hicolor/256x256/apps/kelvara.png \
  usr/share/icons/hicolor/48x48/apps/kelvara.png usr/share/man/man1/kelvara.1.gz \
  usr/share/man/zh_CN/man1/kelvara.1.gz usr/share/doc/kelvara/copyright usr/share/doc/kelvara/changelog.gz \
  usr/share/doc/kelvara/README.md usr/share/doc/kelvara/guide.md usr/share/doc/kelvara/guide/draw-screen.png; do
  grep -qxF "./$path" <<<"$contents" || fault "missing /$path"
done
# The modules are the program's code, not shipped event files.
grep -q '^\./usr/lib/kelvara/.*\.so$' <<<"$contents" && fault "a module in the program folder"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6multimedia6 libzip4 libxlsxwriter fonts-noto-cjk gstreamer1.0-plugins-good; do
  grep -q "$package" <<<"$depends" || fault "Depends lacks $package"
done

# Errors, warnings and unexplained pedantic notes fail; the informational ones
# are listed for whoever reads the output.
lintian_status=0
lintian_report=$(lintian --pedantic --display-info --fail-on error,warning,pedantic "$deb" 2>&1) || lintian_status=$?
grep -v 'root privileges' <<<"$lintian_report" || true
[ "$lintian_status" -eq 0 ] || fault "lintian reports errors, warnings or unexplained pedantic notes"

scratch=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
package="$scratch/package"
dpkg-deb -x "$deb" "$package"
desktop-file-validate "$package/usr/share/applications/kelvara.desktop" || fault "desktop entry not valid"
window_class=$(sed -n 's/^StartupWMClass=//p' "$package/usr/share/applications/kelvara.desktop")
[ -n "$window_class" ] || fault "desktop entry without StartupWMClass"
[ "$(readlink "$package/usr/bin/kelvara")" = "../lib/kelvara/Kelvara抽奖软件" ] ||
  fault "/usr/bin/kelvara does not lead to the program"
for size in 48 256; do
  [ "$(identify -format '%wx%h' "$package/usr/share/icons/hicolor/${size}x${size}/apps/kelvara.png")" = "${size}x${size}" ] ||
    fault "the ${size}x${size} icon is not that size"
done
for page in man1/kelvara.1.gz zh_CN/man1/kelvara.1.gz; do
  # As lintian reads them; like lintian, lines that Chinese text without blanks
  # lets troff neither break nor adjust are no fault.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$package/usr/share/man/$page" 2>&1 >/dev/null |
    grep -v -e "warning \[.*\]: cannot adjust line" -e "warning \[.*\]: can't break line" || true)
  [ -z "$warnings" ] || fault "manual page $page: $warnings"
  zcat "$package/usr/share/man/$page" | grep -qF -- '\-\-help' || fault "manual page $page does not name --help"
done
# Nothing of the build tree or the source tree is compiled into what is installed.
for binary in "$package/usr/lib/kelvara/Kelvara抽奖软件" "$package/$modules"/*.so; do
  if strings "$binary" | grep -qF -e "$build_dir" -e "$root_dir"; then
    fault "$(basename "$binary") carries a build path: $(strings "$binary" | grep -F -e "$build_dir" -e "$root_dir" | head -n 1)"
  fi
done

if [ "$(id -u)" -ne 0 ] || ! unshare -m --propagation private true 2>/dev/null; then
  echo "package_check: the installed program is not run (needs root and mount namespaces)"
elif ! command -v Xvfb >/dev/null || ! command -v xprop >/dev/null || ! command -v xdotool >/dev/null; then
  echo "package_check: the installed program is not run (needs Xvfb, xprop and xdotool)"
else
  # shellcheck source=scripts/lib/draw_screen_lib.sh
  source scripts/lib/draw_screen_lib.sh
  start_xvfb 1280x720
  xvfb_pid=$XVFB_PID
  mkdir -p "$scratch/upper" "$scratch/work" "$scratch/home/run"
  chmod 700 "$scratch/home/run"
  dpkg-deb -e "$deb" "$scratch/control"
  unshare -m --propagation private env -i PATH=/usr/bin:/bin SCRATCH="$scratch" DISPLAY="$DISPLAY" \
    WINDOW_CLASS="$window_class" bash -s <<'EOF' || faults=$((faults + $?))
set -uo pipefail
faults=0
fault() {
  echo "package_check: $*"
  faults=$((faults + 1))
}
mount -t overlay overlay -o "lowerdir=$SCRATCH/package/usr:/usr,upperdir=$SCRATCH/upper,workdir=$SCRATCH/work" /usr
export HOME="$SCRATCH/home" XDG_DATA_HOME="$SCRATCH/home/data" XDG_CONFIG_HOME="$SCRATCH/home/config" \
  XDG_RUNTIME_DIR="$SCRATCH/home/run" LANG=C.UTF-8
event="$XDG_DATA_HOME/Kelvara抽奖软件"

usage=$(kelvara --help) || fault "--help failed"
grep -qF "$event" <<<"$usage" || fault "--help does not name the event folder $event"
grep -qF /usr/share/doc/kelvara/guide.md <<<"$usage" || fault "--help does not name the guide"
grep -q "F11" <<<"$usage" || fault "--help does not list the keys"
[ "$(kelvara --version)" = "Kelvara抽奖软件 $(sed -n 's/^Version: //p' "$SCRATCH/control/control")" ] ||
  fault "--version does not print the package's version"
kelvara --fullscreen >/dev/null 2>&1
[ $? -eq 2 ] || fault "an unknown argument is not refused with exit status 2"
[ -e "$event" ] && fault "an answer on the command line made the event folder"

kelvara >"$SCRATCH/program.log" 2>&1 &
program=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$program" 2>/dev/null | head -n 1)
if [ -z "$window" ]; then
  fault "the installed program shows no window: $(head -c 500 "$SCRATCH/program.log")"
else
  icon=$(xprop -id "$window" -notype _NET_WM_ICON | head -c 200)
  grep -q '_NET_WM_ICON = ' <<<"$icon" || fault "the window has no icon (_NET_WM_ICON): $icon"
  class=$(xprop -id "$window" -notype WM_CLASS)
  grep -qF "\"$WINDOW_CLASS\"" <<<"$class" || fault "WM_CLASS ($class) does not hold StartupWMClass $WINDOW_CLASS"
fi
# The end a system gives a program at log-out: the exit save runs.
kill -TERM "$program" 2>/dev/null
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -KILL "$program" 2>/dev/null
wait "$program" 2>/dev/null

written=$(cd "$SCRATCH/upper" && find . -mindepth 1 | head -n 5)
[ -z "$written" ] || fault "the program wrote under /usr as root: $written"
(cd / && md5sum --quiet -c "$SCRATCH/control/md5sums") || fault "installed files do not match the package's checksums"
[ -f "$event/NameList.txt" ] || fault "no event laid out in $event"
ls "$event"/*.so >/dev/null 2>&1 && fault "the modules were copied into the event"
exit "$faults"
EOF
fi

echo "package_check: $(basename "$deb"), $(grep -c . <<<"$contents") entries, $faults faults"
[ "$faults" -eq 0 ]
