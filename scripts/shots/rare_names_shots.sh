#!/usr/bin/env bash
# Screenshots of names that GBK cannot spell (characters of the CJK extensions,
# in GB18030's four-byte form) on the real draw screen under Xvfb: while they
# roll, when the batch stops, and in the winners display. Written to shots/
# (kept out of git) for a person to look at: no character may show as a box.
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
cd "$KV_ROOT"
out=shots
mkdir -p "$out"

begin_session
start_xvfb 1280x720
folder="$work/event"
make_program_folder "$folder"
python3 - "$folder/NameList.txt" <<'PY'
import sys
names = ["陈𠀀", "李𬌗", "赵𪚥", "黄𫖮", "吴𠮷", "王䶮", "周𠀀明", "孙𬌗", "郑𪚥华"]
open(sys.argv[1], "wb").write(("\r\n".join(names) + "\r\n").encode("gb18030"))
PY
# The first award draws three at once, so three names roll side by side.
set_ini "$folder/Config.ini" 奖项设置 1 "1|特等奖|3|3|3|笔记本电脑|董事长|prize1.png"
start_program "$folder"
wait_for_layout
press space
sleep 2  # the names roll
import -window root "$out/rare-names-rolling.png"
press space
sleep 1  # the last tick of the stop
import -window root "$out/rare-names-stopped.png"
open_with F9
import -window root "$out/rare-names-winners.png"
stop_program
printf '%s\n' "$out"/rare-names-*.png
echo "winners record:"
python3 -c "import sys; print(open(sys.argv[1], 'rb').read().decode('gb18030'))" "$folder/LuckName.txt"
