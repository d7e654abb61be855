#!/usr/bin/env bash
# Screenshots of the draw screen's menus and the shortcut help window under Xvfb,
# written to shots/ (not kept in the repository). Run after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
cd "$KV_ROOT"
tool=build/tools/command_surface_shots
out=shots
mkdir -p "$out"
begin_session
start_xvfb 1280x800
# SCENE:WINDOWS: the backdrop and, over it, the menu with the submenus opened
# from it, or the one window of the scene.
for scene in menu:4 tools:3 help-menu:3 modes:3 single:3 title:2 prize:2 logo:2 help:2 export:2 background:2; do
  shoot_scene "$out/${scene%:*}.png" "${scene#*:}" "$tool" "${scene%:*}"
done
