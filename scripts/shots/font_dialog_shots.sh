#!/usr/bin/env bash
# Screenshots of the font dialog and of its result, taken on the real program
# under Xvfb at 1920x1080 and driven with the keyboard as an operator would:
#   shots/font-dialog.png         "字体设置" of the main title, colour list open
#   shots/font-dialog-chosen.png  the dialog after choosing 水绿色 and 粗偏斜体
#   shots/title-after-colour.png  the draw screen with the main title in that colour
# Run after a build; the screenshots are not kept in the repository.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
out="$KV_ROOT/shots"
mkdir -p "$out"
begin_session
start_xvfb 1920x1080
make_program_folder "$work/program"
set_ini "$work/program/Config.ini" 程序运行情况 首次运行 0
# The template fills the main title with a gradient, which paints over the font's
# colour; without it the colour chosen below shows.
set_ini "$work/program/Config.ini" MainTitle Effect.FontEffect.Gradual.Enabled 0
start_program "$work/program"
wait_for_layout

# Right click on the main title, then "字体设置" (the second item of its menu).
xdotool mousemove 960 60 click 3
wait_for_windows "$PROGRAM_PID" 2  # the menu
xdotool key Down Down Return
wait_for_window --all --pid "$PROGRAM_PID" --name '^字体$' >/dev/null
# Alt+C is the colour list's shortcut; Alt+Down opens it.
xdotool key alt+c
xdotool key alt+Down
wait_for_windows "$PROGRAM_PID" 3  # the draw screen, the dialog and the open list
sleep "$KV_PAINT_SETTLE"
import -window root "$out/font-dialog.png"
echo "$out/font-dialog.png"

# 水绿色 lies three below 黄色, the title's colour; then the last style, bold italic.
xdotool key Down Down Down Return
wait_for_windows_below "$PROGRAM_PID" 3  # the list closed
xdotool key alt+y
xdotool key End
sleep "$KV_PAINT_SETTLE"
import -window root "$out/font-dialog-chosen.png"
echo "$out/font-dialog-chosen.png"
xdotool key Return
wait_for_windows_below "$PROGRAM_PID" 2  # the dialog closed
sleep "$KV_PAINT_SETTLE"
import -window root "$out/title-after-colour.png"
echo "$out/title-after-colour.png"
