#!/usr/bin/env bash
# Screenshots of the real draw screen under Xvfb at 1920 x 1080 and 1280 x 720 on
# copies of the demo event (sounds off): at start, while rolling, at a stop, at
# the draw end question, and in picture draw mode with some people without a
# photo. Writes SIZE-SCENE.png into the folder given (default /tmp/kv_shots); the
# pictures are for looking at, not for the repository. Run after a build.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
out="${1:-/tmp/kv_shots}"
mkdir -p "$out"

begin_session

shot() {
  import -window root "$out/$size-$1.png"
  echo "$out/$size-$1.png"
}

# Every place of the demo event, so a message box up with this many records is
# the draw end question.
demo_places=39

text_draw() {
  local folder="$work/text-$size"
  make_program_folder "$folder"
  start_program "$folder"
  wait_for_layout
  shot start
  press space
  sleep 3.5  # the speed ramp from 1200 ms down to the base
  shot rolling
  press space
  sleep 1  # the last tick of the stop
  shot stop
  local records=0
  for _ in $(seq 60); do
    press space
    sleep 0.8  # names roll a moment before the next press stops them
    records=$(wc -l <"$folder/LuckName.txt" 2>/dev/null || echo 0)
    if [ "$(visible_windows)" -gt 1 ]; then
      if [ "$records" -ge "$demo_places" ]; then
        shot draw-end
        break
      fi
      shot "message-$records"
      close_with Escape
    fi
  done
  stop_program
}

# A picture roster of the first twelve people of the demo roster; eight of them
# have a photo, the others get the sample picture.
picture_draw() {
  local folder="$work/picture-$size"
  make_program_folder "$folder"
  set_ini "$folder/Config.ini" 窗体样式 抽奖模式 0
  iconv -f GBK -t UTF-8 "$folder/NameList.txt" | head -12 | tr -d '\r' >"$work/pictures.txt"
  local colours=(skyblue-navy orange-brown palegreen-darkgreen pink-purple khaki-olive lightcyan-teal salmon-maroon
    lavender-indigo)
  local k=0
  while IFS= read -r name; do
    if [ "$k" -lt 8 ]; then
      convert -size 800x1000 "gradient:${colours[$k]}" -fill wheat -draw "circle 400,380 400,620" \
        -fill wheat -draw "ellipse 400,1000 330,260 180,360" "$folder/photo/$name.jpg"
    fi
    k=$((k + 1))
  done <"$work/pictures.txt"
  sed 's/$/\r/' "$work/pictures.txt" | iconv -f UTF-8 -t GBK >"$folder/PicList.txt"
  start_program "$folder"
  wait_for_layout
  shot picture-start
  press space  # loads the photo tiles, then the pictures roll
  sleep 3.5  # the speed ramp
  shot picture-rolling
  press space
  sleep 1  # the last tick of the stop
  shot picture-stop
  stop_program
}

for size in 1920x1080 1280x720; do
  start_xvfb "$size"
  text_draw
  picture_draw
  kill "$XVFB_PID"
  XVFB_PID=
done
