#!/usr/bin/env bash
# Runs the two-screen window tests (tests/app/two_screens_test.cpp) on real X
# servers: one Xvfb screen 3286 pixels wide split by RandR into a 1366×768 laptop
# (the primary) and a 1920×1080 projector beside it, then a plain 1920×1080 one.
# Xvfb's own screens (-screen 1 …) would all stand at one origin, which no
# laptop with a projector does. Exit 77 (skipped) where Xvfb or xrandr is missing.
set -euo pipefail
test_exe="$1"
for tool in Xvfb xrandr; do
  if ! command -v "$tool" >/dev/null; then
    echo "two_screens_check: skipped, $tool is not installed (scripts/setup.sh installs it)"
    exit 77
  fi
done
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
cleanup() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true; }
trap cleanup EXIT
run_dir=$(mktemp -d)
mkdir -m 700 "$run_dir/run"
export XDG_RUNTIME_DIR="$run_dir/run" QT_QPA_PLATFORM=xcb

# -noreset (start_xvfb): the monitors set by xrandr live as long as the server does.
start_xvfb 3286x1080
xrandr --setmonitor '*LAPTOP' 1366/361x768/203+0+0 screen >/dev/null
xrandr --setmonitor PROJ 1920/508x1080/286+1366+0 none >/dev/null
KV_SCREENS=two "$test_exe"
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true

start_xvfb 1920x1080
KV_SCREENS=one "$test_exe"
rm -rf "$run_dir"
