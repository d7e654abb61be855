#!/usr/bin/env bash
# Screenshots of the give-up, supplementary, sound settings and password dialogs
# and of the lock prompt over the draw screen, at 1920x1080, 1280x720 and
# 1024x600 under openbox with 40 px kept for a panel; each is taken again after
# Enter (NAME-enter.png). Each runs on a fresh copy of the demo event. Written to
# shots/ (not kept in the repository). Run after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
cd "$KV_ROOT"
tool=build/tools/tool_dialogs_shots
out=shots
mkdir -p "$out"
begin_session
for size in 1920x1080 1280x720 1024x600; do
  start_desktop "$size"
  for scene in giveup supplementary sound password lock; do
    event="$work/$size/$scene/Kelvara抽奖软件"
    mkdir -p "$event"
    cp -r dist/. "$event"
    # The draw screen and the dialog over it.
    XDG_CONFIG_HOME="$work/$size/$scene/config" SHOOT_ENTER=1 \
      shoot_scene "$out/$scene-$size.png" 2 "$tool" "$event" "$scene"
  done
  stop_desktop
done
