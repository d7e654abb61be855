#!/usr/bin/env bash
# Takes the screenshots of docs/guide.md from the real program and the project's
# screenshot tools under Xvfb, and writes them small (at most 960 pixels wide,
# 256 colours) into docs/guide/. Run after a build; re-run it whenever a window
# the guide shows has changed, and commit the pictures.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
cd "$KV_ROOT"
out=docs/guide
tools=build/tools
mkdir -p "$out"

begin_session

# keep NAME FILE: the picture FILE as docs/guide/NAME.png, shrunk.
keep() {
  convert "$2" -resize '960x>' -colors 256 -strip "PNG8:$out/$1.png"
  echo "$out/$1.png $(stat -c %s "$out/$1.png") bytes"
}

# window_shot NAME TITLE: the window titled TITLE, or the whole screen for the
# TITLE "screen" (or when no such window is shown).
window_shot() {
  local id=
  if [ "$2" != screen ]; then id=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | head -1) || true; fi
  if [ -n "$id" ]; then
    # Cut from the screen rather than taken from the window: a menu open over
    # the window is a window of its own.
    eval "$(xdotool getwindowgeometry --shell "$id")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/$1.png"
  else
    import -window root "$work/$1.png"
  fi
  keep "$1" "$work/$1.png"
}

# tool_shot NAME TITLE WINDOWS TOOL ARGS...: a screenshot program of tools/ shows
# its scene; once it shows WINDOWS windows the shot is taken and the program ended.
tool_shot() {
  local name="$1" title="$2" windows="$3"
  shift 3
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" "$@" >/dev/null 2>&1 &
  local shown=$!
  wait_for_windows "$shown" "$windows" && sleep "$KV_PAINT_SETTLE"
  window_shot "$name" "$title"
  kill "$shown" 2>/dev/null || true
  wait "$shown" 2>/dev/null || true
}

mkdir -p "$work/config" "$work/run"
chmod 700 "$work/run"
start_xvfb 1280x720

# The draw screen of the demo event: at the start, after a batch, the winners of
# the award (F9).
folder="$work/event"
make_program_folder "$folder"
start_program "$folder"
wait_for_layout
window_shot draw-screen screen
press space
sleep 3.5  # the speed ramp
press space
sleep 1  # the last tick of the stop
window_shot draw-stopped screen
open_with F9
window_shot winners-display screen
close_with F11
stop_program

# The set-up windows, filled with the demo event.
tool_shot menu screen 3 "$tools/command_surface_shots" tools
tool_shot roster-editor 人员名单 2 "$tools/roster_shots" editor
tool_shot spreadsheet-columns 选择名单列 1 "$tools/sheet_shots" columns
tool_shot awards 奖项设置 2 "$tools/award_dialogs_shots" awards dist
tool_shot groups 分组抽奖设定 2 "$tools/award_dialogs_shots" groups dist
tool_shot predetermined 内定设置 2 "$tools/award_dialogs_shots" predetermined dist
giveup_event="$work/giveup/Kelvara抽奖软件"
mkdir -p "$giveup_event"
cp -r dist/. "$giveup_event"
tool_shot give-up 弃奖处理 2 "$tools/tool_dialogs_shots" "$giveup_event" giveup
tool_shot scoring-setup 节目设置 1 "$tools/scoring_shots" setup dist
# The ranking display is laid out for the 1920 x 1080 of the shipped template.
kill "$XVFB_PID"
start_xvfb 1920x1080
tool_shot scoring-ranking screen 1 "$tools/scoring_shots" ranking dist
