# shellcheck shell=bash disable=SC2034  # sets variables for the scripts that source it
# Shared by the scripts that run the real program or a screenshot program of
# tools/ under Xvfb (sourced, not run): a program folder made from the executable
# and the shipped demo event, INI keys set in its GBK Config.ini, the one way an
# Xvfb is started (start_xvfb, with openbox: start_desktop), the program started
# there with its own runtime and settings folders, so that neither the instance
# lock nor the password store of a person's session is touched, the waits for
# its windows, and shoot_scene, the driver of the screenshot programs.
#
# A wait is for the window the next step needs (xdotool search --sync, or a count
# of the program's windows), never a fixed time standing for "it is shown". The
# sleeps left in the scripts stand for the program's own timers (the names' speed
# ramp, the resolution check one second after start, a display's ticks).

KV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# KV_EXE may name another build of the executable, to set two builds side by side.
KV_EXE="${KV_EXE:-$KV_ROOT/build/Kelvara抽奖软件/Kelvara抽奖软件}"

# begin_session: a scratch folder in $work, removed with the program and the
# Xvfb when the script ends, however it ends.
begin_session() {
  work=$(mktemp -d)
  trap end_session EXIT
}
end_session() {
  stop_program
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$work"
}

# make_program_folder DEST: the executable beside a fresh copy of dist/, with
# Config.ini seeded from SysConfig.ini (so the start is a first run, as the demo
# event ships) and sounds off (a machine without a sound card would otherwise ask
# about it).
make_program_folder() {
  local dest="$1"
  mkdir -p "$dest"
  cp -r "$KV_ROOT/dist/." "$dest/"
  mkdir -p "$dest/photo"
  cp "$KV_EXE" "$dest/"
  # The modules loaded on demand (sounds, workbooks) sit beside the executable.
  cp "$(dirname "$KV_EXE")"/libkv_*.so "$dest/" 2>/dev/null || true
  cp "$dest/SysConfig.ini" "$dest/Config.ini"
  set_ini "$dest/Config.ini" 音效设置 背景音乐_check 0
  set_ini "$dest/Config.ini" 音效设置 抽奖开始_check 0
  set_ini "$dest/Config.ini" 音效设置 抽奖停止_check 0
}

# set_ini FILE SECTION KEY VALUE: one key of a GB18030 (GBK), CR LF INI file; the section
# and key are added when missing, every other line is kept.
set_ini() {
  python3 - "$@" <<'EOF'
import os, sys
# The arguments are UTF-8 whatever the locale says.
path, section, key, value = (os.fsencode(a).decode("utf-8") for a in sys.argv[1:5])
with open(path, "rb") as f:
    lines = f.read().decode("gb18030").split("\r\n")
out, current, done, seen = [], None, False, False
for line in lines:
    stripped = line.strip()
    if stripped.startswith("[") and stripped.endswith("]"):
        if current == section and not done:
            out.append(f"{key}={value}")
            done = True
        current = stripped[1:-1]
        seen = seen or current == section
    elif current == section and not done and stripped.split("=", 1)[0] == key:
        out.append(f"{key}={value}")
        done = True
        continue
    out.append(line)
if not done:
    if not seen:
        out.append(f"[{section}]")
    out.append(f"{key}={value}")
open(path, "wb").write("\r\n".join(out).encode("gb18030"))
EOF
}

# start_xvfb WIDTHxHEIGHT: sets DISPLAY to a free display and XVFB_PID.
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  # -noreset: the server must not reset when its last client (an xdotool look)
  # leaves, or a program connecting in that moment fails to start.
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# start_desktop SIZE: an Xvfb of SIZE with openbox giving windows their title
# bars, and 40 px kept free at the bottom as a desktop panel keeps them (the
# area shows black). Needs a session (begin_session). stop_desktop ends both.
start_desktop() {
  start_xvfb "$1"
  cat >"$work/openbox-rc.xml" <<'RC'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>40</bottom><left>0</left><right>0</right></margins>
</openbox_config>
RC
  start_window_manager --config-file "$work/openbox-rc.xml"
}
# start_window_manager [OPENBOX OPTION...]: openbox on the Xvfb; sets WM_PID and
# returns once it manages the screen.
start_window_manager() {
  openbox --sm-disable "$@" >/dev/null 2>&1 &
  WM_PID=$!
  local _
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
}
stop_desktop() {
  kill "$WM_PID" "$XVFB_PID" 2>/dev/null || true
  wait "$WM_PID" "$XVFB_PID" 2>/dev/null || true
  WM_PID= XVFB_PID=
}

# How long a window just mapped is given to paint itself before the screen is
# taken: Qt paints on the first expose, right after the map.
KV_PAINT_SETTLE=${KV_PAINT_SETTLE:-0.3}

# wait_for_window SEARCH...: waits (at most 30 s) until a visible window matches
# the xdotool search SEARCH (e.g. --pid PID, --name '^奖项设置$'; with both, add
# --all, or either one matches) and prints the first one's id; fails when none
# came.
wait_for_window() {
  local id
  id=$(timeout 30 xdotool search --sync --onlyvisible "$@" 2>/dev/null | head -1) || true
  [ -n "$id" ] || { echo "no window $* within 30 s" >&2; return 1; }
  echo "$id"
}

# window_count PID: the visible windows of the process (its main window, each
# dialog, message box and open menu).
window_count() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }

# wait_for_windows PID COUNT: waits (at most 30 s) until the process shows at
# least COUNT visible windows; wait_for_windows_below PID COUNT until it shows
# fewer (a box answered, a dialog closed). xdotool's --sync waits for one window;
# these wait for the second and third (a dialog over the window, a submenu).
wait_for_windows() {
  local _
  wait_for_window --pid "$1" >/dev/null || return 1
  for _ in $(seq 600); do
    [ "$(window_count "$1")" -ge "$2" ] && return 0
    sleep 0.05
  done
  echo "process $1 showed $(window_count "$1") windows, not $2, within 30 s" >&2
  return 1
}
wait_for_windows_below() {
  local _
  for _ in $(seq 600); do
    [ "$(window_count "$1")" -lt "$2" ] && return 0
    sleep 0.05
  done
  return 1
}

# shoot_scene PNG WINDOWS COMMAND...: the screenshot driver. Runs COMMAND (a
# screenshot program of tools/ showing one scene) in the background, waits until
# it shows WINDOWS windows (its main window, the dialog or menus of the scene),
# takes the screen into PNG, and waits for the program to quit by itself (each
# does, a few seconds in, leaving no scratch files behind). Set for one call:
#   SHOOT_AFTER=SECONDS  what the scene shows comes from a timer of the program
#                        that long after its windows are up (an animation, a
#                        reading); the default only lets the window paint
#   SHOOT_ENTER=1        then Enter is pressed in the focused window and
#                        PNG-enter.png taken once the window count has changed
#                        (the dialog closed, a message box came up), or after at
#                        most two seconds where Enter changes only what it shows
#   SHOOT_END=kill       the program does not quit by itself: it is ended
shoot_scene() {
  local png="$1" windows="$2"
  shift 2
  "$@" >/dev/null 2>&1 &
  local shown=$!
  if wait_for_windows "$shown" "$windows"; then
    sleep "${SHOOT_AFTER:-$KV_PAINT_SETTLE}"
    import -window root "$png"
    if [ "${SHOOT_ENTER:-0}" = 1 ]; then
      local before _
      before=$(window_count "$shown")
      xdotool key Return
      for _ in $(seq 40); do
        [ "$(window_count "$shown")" -ne "$before" ] && break
        sleep 0.05
      done
      sleep "$KV_PAINT_SETTLE"
      import -window root "${png%.png}-enter.png"
    fi
  else
    echo "shoot_scene: $* showed no scene" >&2
  fi
  if [ "${SHOOT_END:-}" = kill ]; then kill "$shown" 2>/dev/null || true; fi
  wait "$shown" 2>/dev/null || true
  if [ "${SHOOT_ENTER:-0}" = 1 ]; then echo "$png ${png%.png}-enter.png"; else echo "$png"; fi
}

# start_program FOLDER: starts the executable of FOLDER; sets PROGRAM_PID,
# PROGRAM_WINDOW (its first visible window) and MAPPED_MS (launch to mapped).
start_program() {
  local folder="$1"
  mkdir -p "$folder/.run" "$folder/.config"
  chmod 700 "$folder/.run"
  local start
  start=$(date +%s%N)
  XDG_RUNTIME_DIR="$folder/.run" XDG_CONFIG_HOME="$folder/.config" "$folder/Kelvara抽奖软件" \
    >"$folder/.run/program.log" 2>&1 &
  PROGRAM_PID=$!
  # Polled here: xdotool's own --sync waits half a second between looks.
  PROGRAM_WINDOW=
  for _ in $(seq 2000); do
    PROGRAM_WINDOW=$(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null | head -1) || true
    [ -n "$PROGRAM_WINDOW" ] && break
    sleep 0.005
  done
  MAPPED_MS=$((($(date +%s%N) - start) / 1000000))
  xdotool windowfocus --sync "$PROGRAM_WINDOW" 2>/dev/null || true
}

stop_program() {
  if [ -n "${PROGRAM_PID:-}" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
    kill "$PROGRAM_PID"
    wait "$PROGRAM_PID" 2>/dev/null || true
  fi
  PROGRAM_PID=
}

# The program's visible windows: more than one means a message box is up.
visible_windows() { xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null | wc -l; }

# press KEY: a real key press through the X server's test extension, into the
# draw screen (or into a message box that is up).
press() {
  if [ "$(visible_windows)" -le 1 ]; then xdotool windowfocus "$PROGRAM_WINDOW" 2>/dev/null || true; fi
  xdotool key "$1"
}

# wait_for_other_window ID: waits (at most 30 s) until the program shows a
# window other than ID (the draw screen once a start-up question is answered)
# and prints its id.
wait_for_other_window() {
  local id _
  for _ in $(seq 600); do
    id=$(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null | grep -vx "$1" | head -1) || true
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.05
  done
  echo "no window beside $1 within 30 s" >&2
  return 1
}

# wait_for_layout: the program checks the screen's size a second after its start
# (before its window is mapped, when start_program returns) and lays the screen
# out for it; waits past that check and the paint that follows.
wait_for_layout() { sleep 1 && sleep "$KV_PAINT_SETTLE"; }

# open_with KEY: presses KEY and waits until one more window of the program is up
# (a display, a message box, a dialog) and has painted.
open_with() {
  local before
  before=$(visible_windows)
  press "$1"
  wait_for_windows "$PROGRAM_PID" $((before + 1)) && sleep "$KV_PAINT_SETTLE"
}

# close_with KEY: presses KEY and waits until a window of the program has gone.
close_with() {
  local before
  before=$(visible_windows)
  press "$1"
  wait_for_windows_below "$PROGRAM_PID" "$before"
}
