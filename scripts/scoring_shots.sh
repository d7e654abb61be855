#!/usr/bin/env bash
# Screenshots of the programme scoring windows under Xvfb, written to shots/
# (not kept in the repository): the setup dialog filled, the ranking display
# during and after its animation, the details display with its marks. Run after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/bench/scoring_shots
out=shots
mkdir -p "$out"
exec 3< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 2>/dev/null)
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null' EXIT
read -r number <&3
display=":$number"
for scene in setup ranking-mid ranking details; do
  DISPLAY="$display" "$tool" "$scene" dist >/dev/null 2>&1 &
  shown=$!
  sleep 3
  DISPLAY="$display" import -window root "$out/scoring-$scene.png"
  wait "$shown" || true
  echo "$out/scoring-$scene.png"
done
