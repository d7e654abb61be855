#!/usr/bin/env bash
# Screenshots of the roster windows under Xvfb (the editor with its menu open,
# the generator, the picture roster with a few photos), written to shots/ (not
# kept in the repository). Run after building roster_shots.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/bench/roster_shots
out=shots
mkdir -p "$out"
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb"' EXIT
read -r -t 10 number <&"$fd"
display=":$number"
for scene in editor generator pictures; do
  DISPLAY="$display" "$tool" "$scene" &
  shown=$!
  sleep 2.5
  DISPLAY="$display" import -window root "$out/roster-$scene.png"
  wait "$shown"
  echo "$out/roster-$scene.png"
done
