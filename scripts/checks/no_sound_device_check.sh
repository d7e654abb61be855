#!/usr/bin/env bash
# The draw on a machine without a sound device, as a laptop on a projector's HDMI
# is: the real program under Xvfb on a copy of the demo event with its sounds on,
# driven by real key presses. The first press of the space bar starts the names
# and asks about the sound card; the second, meant to stop them, must not answer
# that box (its Yes would open the sound settings in front of the audience);
# Enter takes 否; the third press stops the names and records the batch; the
# fourth starts the next batch without asking again, and the fifth records it.
# Exits 77 (skipped) where Xvfb or xdotool is missing. KV_EXE names the
# executable (default: the build's program folder).
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"

skip() {
  echo "skipped: $*"
  exit 77
}
fail() {
  echo "FAIL: $*"
  [ -f "$work/program/.run/program.log" ] && sed 's/^/program: /' "$work/program/.run/program.log"
  exit 1
}
command -v Xvfb >/dev/null || skip "Xvfb is not installed (scripts/setup.sh installs it)"
command -v xdotool >/dev/null || skip "xdotool is not installed (scripts/setup.sh installs it)"
[ -x "$KV_EXE" ] || {
  echo "FAIL: no program at $KV_EXE (build it first)"
  exit 1
}

begin_session
make_program_folder "$work/program"
for key in 背景音乐_check 抽奖开始_check 抽奖停止_check; do set_ini "$work/program/Config.ini" 音效设置 "$key" 1; done
# No sound server is reachable (the program's runtime folder is its own, and this
# names none that exists); a sound card of the machine is hidden from the media
# back end's device list as far as it can be.
export PULSE_SERVER=unix:/nonexistent/kv-no-sound
export GST_PLUGIN_FEATURE_RANK=alsadeviceprovider:NONE,pulsedeviceprovider:NONE,pipewiredeviceprovider:NONE
export QT_QPA_PLATFORM=xcb
start_xvfb 1920x1080
start_program "$work/program"
[ -n "$PROGRAM_WINDOW" ] || fail "the draw screen did not show"
wait_for_layout

records() {
  if [ -f "$work/program/LuckName.txt" ]; then grep -c . "$work/program/LuckName.txt" || true; else echo 0; fi
}
window_names() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do xdotool getwindowname "$w"; done
}
# wait_for CONDITION...: polls for up to 5 s; false when it never held.
wait_for() {
  for _ in $(seq 50); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}
box_up() { [ "$(visible_windows)" -gt 1 ]; }
box_gone() { [ "$(visible_windows)" -le 1 ]; }
recorded() { [ "$(records)" -eq "$1" ]; }
no_settings_window() {
  if window_names | grep -q 音效设置; then fail "the sound settings window opened"; fi
  kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended"
}

press space
if ! wait_for box_up; then
  [ -e /dev/snd ] && skip "this machine's sound card could not be hidden from the program: the question never came"
  fail "the first press asked nothing although no sound device is present"
fi
window_names | grep -qx 提示 || fail "the box up is not the question (windows: $(window_names | tr '\n' ' '))"

press space
sleep 1  # time for the press to do what it must not
no_settings_window
box_up || fail "the second press of the space bar answered the question"
[ "$(records)" -eq 0 ] || fail "a batch was recorded while the question was up"

press Return
wait_for box_gone || fail "Enter did not answer the question"
no_settings_window

press space
wait_for recorded 10 || fail "the third press did not record the batch (records: $(records))"
no_settings_window

press space
sleep 1  # time for the question to come again, which it must not
box_gone || fail "the question came again at the next batch (windows: $(window_names | tr '\n' ' '))"
press space
wait_for recorded 20 || fail "the next batch was not recorded (records: $(records))"
no_settings_window
grep -q '抽奖停止_check=1' <(iconv -f GBK -t UTF-8 "$work/program/Config.ini") ||
  fail "the stop sound was switched off"
echo "no sound device: one question, answered by Enter alone; two batches recorded; no sound settings window"
