#!/usr/bin/env bash
# Screenshots of the real draw screen under Xvfb at projector sizes other than
# the template's 1920 x 1080, after the first start (whose auto layout fits the
# screen): a batch of 10 names stopped, a batch of 30 photos stopped, 10 names
# rolling on under an auto stop's countdown, and award rolling (whose turn it
# is and who is next, beside the subtitle). Writes SIZE-names.png,
# SIZE-photos.png, SIZE-countdown.png and SIZE-award-rolling.png into the
# folder given (default /tmp/kv_shots); the pictures are for looking at, not
# for the repository. Run after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
out="${1:-/tmp/kv_shots}"
mkdir -p "$out"

begin_session

# Takes the screen as the audience sees it, names the picture and closes the program.
shoot() {
  import -window root "$out/$size-$1.png"
  echo "$out/$size-$1.png"
  stop_program
}

# The demo event draws its last award first: ten places of "幸运奖" at a time.
batch_of_names() {
  local folder="$work/names-$size"
  make_program_folder "$folder"
  start_program "$folder"
  wait_for_layout
  press space
  sleep 3.5  # the speed ramp
  press space
  sleep 1  # the last tick of the stop
  shoot names
}

# The same award drawn 30 at a time in picture draw (everybody shows the sample photo).
batch_of_photos() {
  local folder="$work/photos-$size"
  make_program_folder "$folder"
  set_ini "$folder/Config.ini" 窗体样式 抽奖模式 0
  set_ini "$folder/Config.ini" 奖项设置 5 "5|幸运奖|30|30|30|购物卡|人事经理|exp.jpg"
  start_program "$folder"
  wait_for_layout
  press space  # loads the photo tiles, then the pictures roll
  sleep 3.5  # the speed ramp
  press space
  sleep 1  # the last tick of the stop
  shoot photos
}

# Ten names again, stopped with an auto stop of 10 seconds: the clock counts
# down over the rolling names.
countdown_over_names() {
  local folder="$work/countdown-$size"
  make_program_folder "$folder"
  set_ini "$folder/Config.ini" 界面设置 自动抽奖 1
  set_ini "$folder/Config.ini" 界面设置 自动抽奖Sec 10
  start_program "$folder"
  wait_for_layout
  press space
  sleep 2  # names roll
  press space  # the countdown starts
  sleep 2.5  # and runs two seconds and a half
  shoot countdown
}

# Award rolling: the awards roll for the first person of the roster.
award_rolling() {
  local folder="$work/award-rolling-$size"
  make_program_folder "$folder"
  set_ini "$folder/Config.ini" 窗体样式 滚动模式 0
  set_ini "$folder/Config.ini" 音效设置 抽奖停止 ""
  start_program "$folder"
  wait_for_layout
  press space
  sleep 1.5  # the awards roll
  shoot award-rolling
}

for size in 1024x768 1280x720 3840x2160; do
  start_xvfb "$size"
  batch_of_names
  batch_of_photos
  countdown_over_names
  award_rolling
  kill "$XVFB_PID"
  XVFB_PID=
done
