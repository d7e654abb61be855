#!/usr/bin/env bash
# Screenshots of the draw screen's menus and the shortcut help window under Xvfb,
# written to shots/ (not kept in the repository). Run after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/bench/command_surface_shots
out=shots
mkdir -p "$out"
display=:95
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb"' EXIT
sleep 1
for scene in menu tools help-menu modes single title prize logo help export background; do
  DISPLAY="$display" "$tool" "$scene" &
  shown=$!
  sleep 2.5
  DISPLAY="$display" import -window root "$out/$scene.png"
  wait "$shown"
  echo "$out/$scene.png"
done
