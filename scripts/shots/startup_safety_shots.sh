#!/usr/bin/env bash
# scripts/shots/startup_safety_shots.sh: screenshots under Xvfb (1920x1080, the size the
# shipped template is laid out for) of the draw
# screen on event files that are not what the program wrote, into shots/:
#   safety_question.png  start-up asks about a damaged line of LuckName.txt
#   safety_blocked.png   after "否": the hint says nothing can be drawn
#   safety_refused.png   the space bar then shows why instead of drawing
#   safety_interrupted.png  the next start after a batch a kill cut short
# Run after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
mkdir -p "$KV_ROOT/shots"
begin_session
start_xvfb 1920x1080
shot() { import -window root "$KV_ROOT/shots/$1"; }
gbk() { iconv -f UTF-8 -t GBK; }

folder="$work/event"
make_program_folder "$folder"
set_ini "$folder/Config.ini" 程序运行情况 首次运行 0
{
  for i in 1 2 3; do printf '%d|员工%d|员**|三等奖|3\r\n' "$i" "$i"; done
  printf '\0\0\0\0\r\n'
} | gbk >"$folder/LuckName.txt"
# The UTF-8 line goes in as UTF-8, as an editor on another system would leave it.
printf '5|李四|李**|三等奖|3\r\n' >>"$folder/LuckName.txt"

# Start-up asks before the draw screen is shown: the window start_program waits
# for is the question.
start_program "$folder"
question="$PROGRAM_WINDOW"
sleep "$KV_PAINT_SETTLE"
shot safety_question.png
press Tab
press Return  # "否"
PROGRAM_WINDOW=$(wait_for_other_window "$question")
wait_for_layout
shot safety_blocked.png
open_with space
shot safety_refused.png
press Return
stop_program

# A batch cut short: the note of a batch of three, of which one record reached the disk.
rm -f "$folder"/LuckName.txt*
printf '0\r\n1|员工1|员**|三等奖|3\r\n2|员工2|员**|三等奖|3\r\n3|员工3|员**|三等奖|3\r\n' | gbk \
  >"$folder/LuckName.txt.pending"
printf '1|员工1|员**|三等奖|3\r\n' | gbk >"$folder/LuckName.txt"
start_program "$folder"  # the notice of the interrupted batch comes first
notice="$PROGRAM_WINDOW"
press Return
PROGRAM_WINDOW=$(wait_for_other_window "$notice")
wait_for_layout
shot safety_interrupted.png
stop_program
echo "shots/safety_*.png written"
