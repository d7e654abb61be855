#!/usr/bin/env bash
# Screenshots of the give-up, supplementary, sound settings and password dialogs
# over the draw screen under Xvfb, written to shots/ (not kept in the repository).
# Each runs on a fresh copy of the demo event. Run after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/bench/tool_dialogs_shots
out=shots
mkdir -p "$out"
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb"; rm -rf "$work"' EXIT
for _ in 1 2 3 4 5 6 7 8 9 10; do [ -s "$work/display" ] && break; sleep 0.5; done
display=":$(head -n1 "$work/display")"
for scene in giveup supplementary sound password; do
  event="$work/$scene/Kelvara抽奖软件"
  mkdir -p "$event"
  cp -r dist/. "$event"
  DISPLAY="$display" XDG_CONFIG_HOME="$work/$scene/config" "$tool" "$event" "$scene" &
  shown=$!
  sleep 3.5
  DISPLAY="$display" import -window root "$out/$scene.png"
  wait "$shown" || true
  echo "$out/$scene.png"
done
