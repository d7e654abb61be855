#!/usr/bin/env bash
# Screenshots of the roster windows (the editor with its menu open, the
# generator, the picture roster with a few photos) at 1920x1080, 1280x720 and
# 1024x600 under openbox with 40 px kept for a panel; each is taken again after
# Enter (NAME-enter.png). Written to shots/ (not kept in the repository). Run
# after building roster_shots.
set -euo pipefail
source "$(dirname "$0")/draw_screen_lib.sh"
cd "$KV_ROOT"
tool=build/bench/roster_shots
out=shots
mkdir -p "$out"
begin_session
for size in 1920x1080 1280x720 1024x600; do
  start_desktop "$size"
  for scene in editor generator pictures; do
    "$tool" "$scene" &
    shown=$!
    sleep 2.5
    shoot_with_enter "$out/roster-$scene-$size"
    wait "$shown" || true
  done
  stop_desktop
done
