#!/usr/bin/env bash
# Screenshots of the result displays in the real program under Xvfb at
# 1920 x 1080 and 1280 x 720 on copies of the demo event (sounds off): the
# prize display on two successive ticks, the winners display for the award in
# progress (F9) and, after the whole draw, for all awards (F10). Writes SIZE-SCENE.png into the folder given (default
# /tmp/kv_display_shots); the pictures are for looking at, not for the
# repository. Run after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
out="${1:-/tmp/kv_display_shots}"
mkdir -p "$out"

begin_session

shot() {
  import -window root "$out/$size-$1.png"
  echo "$out/$size-$1.png"
}

demo_places=39

displays() {
  local folder="$work/displays-$size"
  make_program_folder "$folder"
  set_ini "$folder/Config.ini" ShowPrizeName speed 1500
  start_program "$folder"
  wait_for_layout
  open_with F3
  sleep 1.5  # the display's first tick (speed 1500 ms)
  shot prize-tick-1
  sleep 1.5  # and its second
  shot prize-tick-2
  close_with F11
  press space
  sleep 3.5  # the speed ramp
  press space
  sleep 1  # the last tick of the stop
  open_with F9
  shot winners-award
  close_with F11
  local records=0
  for _ in $(seq 80); do
    press space
    sleep 0.8  # names roll a moment before the next press stops them
    records=$(wc -l <"$folder/LuckName.txt" 2>/dev/null || echo 0)
    if [ "$(visible_windows)" -gt 1 ]; then
      if [ "$records" -ge "$demo_places" ]; then
        # "抽奖结束,是否显示全部中奖名单?" dismissed; F10 opens the same display.
        close_with Escape
        open_with F10
        shot winners-all
        close_with F11
        break
      fi
      close_with Escape
      press F11
    fi
  done
  stop_program
}

for size in 1920x1080 1280x720; do
  start_xvfb "$size"
  displays
  kill "$XVFB_PID"
  XVFB_PID=
done
