#!/usr/bin/env bash
# Under a real window manager (openbox on Xvfb), an error box that a full-screen
# display raises must stay with the display: the draw screen must never come to
# the front over it. Starts the program on a scoring event, opens the score
# details display (F7), then saves a score that is not a number into the scoring
# file, as an operator's typing slip would, so that the next refresh reports it;
# checks the stacking order the window manager reports: draw screen below the
# display, the box above it and transient for it. With a folder argument, also writes screenshots of the ranking (F8) and
# details (F7) displays on a sound event there. Exits 77 (skipped) when Xvfb,
# openbox, xdotool or xprop is missing; run after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
shots="${1:-}"

for tool in Xvfb openbox xdotool xprop; do
  if ! command -v "$tool" >/dev/null; then
    echo "display_stacking_check: skipped, $tool is not installed"
    exit 77
  fi
done
[ -x "$KV_EXE" ] || { echo "display_stacking_check: no executable at $KV_EXE (build first)"; exit 1; }
# The program runs on the Xvfb's X server, whatever the test command set.
unset QT_QPA_PLATFORM

begin_session
WM_PID=
end_stacking_session() {
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
  end_session
}
trap end_stacking_session EXIT

# scoring_file FOLDER FIRST_SCORE: the first programme current; the first
# judge's score as given.
scoring_file() {
  mkdir -p "$1/data"
  printf '[当前节目]\r\n编号=1\r\n[1.开场舞]\r\n王总=%s\r\n李经理=8.5\r\n张老师=9\r\n[2.大合唱]\r\n王总=8\r\n李经理=7\r\n张老师=9.5\r\n' \
    "$2" | iconv -f UTF-8 -t GBK >"$1/data/评分文件.txt"
}

# scoring_event FOLDER: two programmes, three judges, sounds off.
scoring_event() {
  local folder="$1"
  make_program_folder "$folder"
  set_ini "$folder/Config.ini" 音效设置 节目排名展示_check 0
  set_ini "$folder/Config.ini" 音效设置 节目评分明细_check 0
  set_ini "$folder/Config.ini" 音效设置 评委打分变动_check 0
  set_ini "$folder/Config.ini" 音效设置 中奖结果展示_check 0
  set_ini "$folder/Config.ini" 节目设置 1 "1|开场舞|市场部"
  set_ini "$folder/Config.ini" 节目设置 2 "2|大合唱|工会"
  set_ini "$folder/Config.ini" 节目设置 去最高分 1
  set_ini "$folder/Config.ini" 节目设置 去最低分 1
  set_ini "$folder/Config.ini" 评委设置 1 王总
  set_ini "$folder/Config.ini" 评委设置 2 李经理
  set_ini "$folder/Config.ini" 评委设置 3 张老师
  set_ini "$folder/Config.ini" 评分展示 动画展示 0
  scoring_file "$folder" 9.5
}

# The window of the program whose name is $1 (UTF-8), empty when none shows.
window_named() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
      echo "$id"
      return
    fi
  done
}

# Position of window $1 in the window manager's stacking list, bottom first.
stack_place() {
  local wanted=$(($1)) place=0 id
  for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g'); do
    if [ $((id)) -eq "$wanted" ]; then
      echo "$place"
      return
    fi
    place=$((place + 1))
  done
  echo -1
}

start_xvfb 1280x720
start_window_manager

folder="$work/stacking"
scoring_event "$folder"
start_program "$folder"
wait_for_layout
draw_screen="$PROGRAM_WINDOW"
press F7
display=$(wait_for_window --all --pid "$PROGRAM_PID" --name '^节目评分明细$') || display=
sleep 1  # the display's first reading of the scoring file
scoring_file "$folder" 不是数字
box=
# The box comes at the display's next reading of the file.
if wait_for_windows "$PROGRAM_PID" 3; then
  for id in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do
    [ "$id" != "$display" ] && [ "$id" != "$draw_screen" ] && box="$id"
  done
fi
sleep "$KV_PAINT_SETTLE"
[ -n "$shots" ] && mkdir -p "$shots" && import -window root "$shots/details-error-box.png"

fault=0
if [ -z "${display:-}" ] || [ -z "$box" ]; then
  echo "display_stacking_check: FAIL the details display or its error box did not show"
  fault=1
else
  screen_at=$(stack_place "$draw_screen")
  display_at=$(stack_place "$display")
  box_at=$(stack_place "$box")
  transient=$(xprop -id "$box" WM_TRANSIENT_FOR 2>/dev/null | sed -n 's/.*window id # //p')
  echo "stacking (bottom first): draw screen $screen_at, details display $display_at, error box $box_at"
  if [ "$screen_at" -ge "$display_at" ]; then
    echo "display_stacking_check: FAIL the draw screen stands above the details display"
    fault=1
  fi
  if [ "$box_at" -le "$display_at" ]; then
    echo "display_stacking_check: FAIL the error box is not above the details display"
    fault=1
  fi
  if [ -z "$transient" ] || [ $((transient)) -ne $((display)) ]; then
    echo "display_stacking_check: FAIL the error box is transient for ${transient:-nothing}, not for the display"
    fault=1
  fi
fi
stop_program

if [ -n "$shots" ] && [ "$fault" -eq 0 ]; then
  folder="$work/shots"
  scoring_event "$folder"
  start_program "$folder"
  wait_for_layout
  open_with F8
  sleep 2  # the ranking's animation
  import -window root "$shots/ranking.png"
  close_with F11
  open_with F7
  import -window root "$shots/details.png"
  close_with F11
  sleep "$KV_PAINT_SETTLE"
  import -window root "$shots/draw-screen-after.png"
  stop_program
  echo "screenshots in $shots"
fi

[ "$fault" -eq 0 ] && echo "display_stacking_check: the draw screen stays behind the display and its error box"
exit "$fault"
