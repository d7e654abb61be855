#!/usr/bin/env bash
# Screenshots of a laptop (1366×768, the primary) with a projector (1920×1080)
# beside it, during a draw driven from the console: shots/two_screens_{laptop,
# projector}_{rolling,stopped}.png, and the whole desktop. Run after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
out="$KV_ROOT/shots"
mkdir -p "$out"
begin_session
make_program_folder "$work/program"
start_xvfb 3286x1080
xrandr --setmonitor '*LAPTOP' 1366/361x768/203+0+0 screen >/dev/null
xrandr --setmonitor PROJ 1920/508x1080/286+1366+0 none >/dev/null
start_program "$work/program"
console=$(wait_for_window --name '^抽奖控制台$')
wait_for_layout  # the resolution check lays the projector's screen out
xdotool windowfocus --sync "$console" 2>/dev/null || true
shoot() {
  import -window root "$work/desk.png"
  convert "$work/desk.png" -crop 1366x768+0+0 +repage "$out/two_screens_laptop_$1.png"
  convert "$work/desk.png" -crop 1920x1080+1366+0 +repage "$out/two_screens_projector_$1.png"
  cp "$work/desk.png" "$out/two_screens_desktop_$1.png"
}
xdotool key space
sleep 2.5  # the speed ramp
shoot rolling
xdotool key space
sleep 1  # the last tick of the stop
shoot stopped
echo "two_screens_shots: $out/two_screens_{laptop,projector}_{rolling,stopped}.png"
