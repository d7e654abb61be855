#!/usr/bin/env bash
# Screenshots of the programme scoring windows under Xvfb, written to shots/
# (not kept in the repository): the setup dialog filled, the ranking display
# during and after its animation, the details display with its marks, the phone
# scoring window, and the details display just after a phone sent a score, on a
# 1920×1080 screen or the SIZE given, on 8 programmes and 6 judges or, with
# "crowded", 30 and 20 with long names (scripts/scoring_shots.sh 1024x600 crowded).
# Run after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/bench/scoring_shots
out=shots
size="${1:-1920x1080}"
crowded="${2:-}"
mkdir -p "$out"
exec 3< <(Xvfb -displayfd 1 -screen 0 "${size}x24" 2>/dev/null)
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null' EXIT
read -r number <&3
display=":$number"
for scene in setup ranking-mid ranking details phones details-phone; do
  DISPLAY="$display" "$tool" "$scene" dist ${crowded:+"$crowded"} >/dev/null 2>&1 &
  shown=$!
  # The phone sends its score 1.5 s after the display opened; the display shows it at its next reading.
  if [ "$scene" = details-phone ]; then sleep 4.5; else sleep 3; fi
  DISPLAY="$display" import -window root "$out/scoring-$scene.png"
  wait "$shown" || true
  echo "$out/scoring-$scene.png"
done
