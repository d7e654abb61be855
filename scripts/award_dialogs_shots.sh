#!/usr/bin/env bash
# Screenshots of the award settings, award grouping and predetermined dialogs
# over the draw screen, filled with the demo event, under Xvfb at 1920x1080 and
# 1280x720; written to shots/ (not kept in the repository). Run after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/bench/award_dialogs_shots
out=shots
mkdir -p "$out"
for size in 1920x1080 1280x720; do
  for scene in awards groups predetermined; do
    xvfb-run -a -s "-screen 0 ${size}x24" bash -c \
      "'$tool' '$scene' dist & shown=\$!; sleep 4; import -window root '$out/$scene-$size.png'; wait \$shown"
    echo "$out/$scene-$size.png"
  done
done
