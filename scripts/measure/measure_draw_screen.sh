#!/usr/bin/env bash
# The real program under Xvfb (1920 x 1080) on a copy of the demo event: time
# from launch until its window is mapped, its memory after start-up (proportional
# set size), and its CPU share while names roll at the fastest speed (20 ms, no
# ramp) for a number of seconds (default 10). Prints figures; run after a build.
# Ticks are counted in-process by build/bench/draw_screen_bench.
# Beside the rolling CPU share stands the same window's share idle for as long,
# measured first in the same run; beside the PSS the private part (USS, which
# other processes mapping the same libraries cannot shift) and the PSS by kind
# of mapping (scripts/measure/memory_report.py). KV_EXE=path measures another build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
seconds="${1:-10}"

begin_session

make_program_folder "$work/program"
set_ini "$work/program/Config.ini" 界面设置 滚动速度 -5
set_ini "$work/program/Config.ini" 界面设置 滚动速度是否渐变 0
set_ini "$work/program/Config.ini" 界面设置 抽奖准备 0  # the first press starts the names
start_xvfb 1920x1080

memory_report() { python3 "$KV_ROOT/scripts/measure/memory_report.py" "$PROGRAM_PID" "$1"; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$PROGRAM_PID/stat"; }

start_program "$work/program"
echo "launch to window mapped: ${MAPPED_MS} ms"
wait_for_layout
memory_report "after start-up"
hz=$(getconf CLK_TCK)
# cpu_share TICKS MS: per cent of one core.
cpu_share() { awk -v t="$1" -v hz="$hz" -v ms="$2" 'BEGIN { printf "%.1f", t / hz / (ms / 1000) * 100 }'; }
idle_before=$(cpu_ticks)
idle_start=$(date +%s%N)
sleep "$seconds"
idle_ticks=$(($(cpu_ticks) - idle_before))
idle_ms=$((($(date +%s%N) - idle_start) / 1000000))

# Names roll when the rolling area differs between two looks 0.1 s apart.
rolling_pixels() {
  import -window root -crop 1920x700+0+200 "$work/look1.png"
  sleep 0.1
  import -window root -crop 1920x700+0+200 "$work/look2.png"
  compare -metric AE "$work/look1.png" "$work/look2.png" null: 2>&1 || true
}

press space
sleep 1  # the names roll
changed=$(rolling_pixels)
if [ "${changed%% *}" = "0" ] || [ "$(visible_windows)" -gt 1 ]; then
  echo "names are not rolling (pixels changed in 0.1 s: $changed; windows: $(visible_windows)): no CPU figure"
  exit 1
fi
echo "names rolling before the measurement: $changed pixels changed in the rolling area within 0.1 s"
before=$(cpu_ticks)
start=$(date +%s%N)
sleep "$seconds"
after=$(cpu_ticks)
wall_ms=$((($(date +%s%N) - start) / 1000000))
changed_after=$(rolling_pixels)
if [ "${changed_after%% *}" = "0" ] || [ "$(visible_windows)" -gt 1 ]; then
  echo "names stopped rolling during the measurement (pixels changed: $changed_after): no CPU figure"
  exit 1
fi
echo "rolling at 20 ms for $((wall_ms / 1000)) s: CPU $(cpu_share $((after - before)) "$wall_ms") % of one core" \
  "(target 5 %); the same window idle for $((idle_ms / 1000)) s before it: $(cpu_share "$idle_ticks" "$idle_ms") %"
echo "still rolling after it: $changed_after pixels changed within 0.1 s"
memory_report "while rolling"
