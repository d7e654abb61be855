#!/usr/bin/env bash
# Pictures of what the audience sees on a crowded event (long names, 60
# winners, 20 judges, 30 programmes) at 1920 x 1080, 1280 x 720 and 1024 x 600:
# the draw screen with a batch of ten long names, the draw screen as the
# sixty-place award's batch left it (the big frame), and the four full-screen
# displays, taken by the layout report from the real windows. The winners
# display is taken twice more with its list in the proportional face (Noto
# Sans CJK SC named directly) to compare with the fixed-pitch face that 黑体
# is drawn in. Writes SIZE-SCENE.png into the folder given (default
# /tmp/kv_crowded_shots); the pictures are for looking at, not for the
# repository. Run after a build.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$root/scripts/lib/draw_screen_lib.sh"
report="${KV_LAYOUT_REPORT:-$root/build/tools/layout_report}"
out="${1:-/tmp/kv_crowded_shots}"
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen

proportional="$(mktemp -d)"
trap 'rm -rf "$proportional"' EXIT
cp -r "$root/dist/." "$proportional/"
set_ini "$proportional/SysConfig.ini" NameText Text.Font.Name "Noto Sans CJK SC"

for size in 1920x1080 1280x720 1024x600; do
  "$report" --size "$size" --crowded --batch 10 --shot "$out/$size-draw-screen.png" >/dev/null 2>&1
  "$report" --size "$size" --crowded --as-drawn --shot "$out/$size-draw-screen-60.png" >/dev/null 2>&1
  for display in winners prize ranking details; do
    "$report" --size "$size" --crowded --display "$display" --shot "$out/$size-$display.png" >/dev/null 2>&1
  done
  "$report" --size "$size" --crowded --display winners --event "$proportional" \
    --shot "$out/$size-winners-proportional.png" >/dev/null 2>&1
  ls "$out/$size"-*.png
done
