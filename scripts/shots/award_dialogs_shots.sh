#!/usr/bin/env bash
# Screenshots of the award settings, award grouping and predetermined dialogs
# over the draw screen, filled with the demo event, at 1920x1080, 1280x720 and
# 1024x600 under openbox with 40 px kept for a panel; each is taken again after
# Enter (NAME-enter.png). Written to shots/ (not kept in the repository). Run
# after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
cd "$KV_ROOT"
tool=build/tools/award_dialogs_shots
out=shots
mkdir -p "$out"
begin_session
for size in 1920x1080 1280x720 1024x600; do
  start_desktop "$size"
  for scene in awards groups predetermined; do
    # The draw screen and the dialog over it.
    SHOOT_ENTER=1 shoot_scene "$out/$scene-$size.png" 2 "$tool" "$scene" dist
  done
  stop_desktop
done
