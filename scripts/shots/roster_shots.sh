#!/usr/bin/env bash
# Screenshots of the roster windows (the editor with its menu open, the
# generator, the picture roster with a few photos) at 1920x1080, 1280x720 and
# 1024x600 under openbox with 40 px kept for a panel; each is taken again after
# Enter (NAME-enter.png). Written to shots/ (not kept in the repository). Run
# after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
cd "$KV_ROOT"
tool=build/tools/roster_shots
out=shots
mkdir -p "$out"
begin_session
for size in 1920x1080 1280x720 1024x600; do
  start_desktop "$size"
  # The editor's scene is the editor and its open menu.
  for scene in editor:2 generator:1 pictures:1; do
    SHOOT_ENTER=1 shoot_scene "$out/roster-${scene%:*}-$size.png" "${scene#*:}" "$tool" "${scene%:*}"
  done
  stop_desktop
done
