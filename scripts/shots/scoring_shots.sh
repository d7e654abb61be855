#!/usr/bin/env bash
# Screenshots of the programme scoring windows under Xvfb, written to shots/
# (not kept in the repository): the setup dialog filled, the ranking display
# during and after its animation, the details display with its marks, the phone
# scoring window, and the details display just after a phone sent a score, on a
# 1920×1080 screen or the SIZE given, on 8 programmes and 6 judges or, with
# "crowded", 30 and 20 with long names (scripts/shots/scoring_shots.sh 1024x600 crowded).
# Run after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
cd "$KV_ROOT"
tool=build/tools/scoring_shots
out=shots
size="${1:-1920x1080}"
crowded="${2:-}"
mkdir -p "$out"
begin_session
start_xvfb "$size"
scene() { shoot_scene "$out/scoring-$1.png" 1 "$tool" "$1" dist ${crowded:+"$crowded"}; }
scene setup
# Halfway through the ranking's animation.
SHOOT_AFTER=2.5 scene ranking-mid
scene ranking
scene details
# The window's activity column is read one second after it shows.
SHOOT_AFTER=1.5 scene phones
# The phone sends its score 1.5 s after the display opened; the display shows it
# at its next reading.
SHOOT_AFTER=4 scene details-phone
