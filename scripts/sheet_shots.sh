#!/usr/bin/env bash
# Screenshots of the spreadsheet column dialog and of the winners export's save
# dialog with its three formats, under Xvfb, into shots/ (after a build).
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/bench/sheet_shots
out=shots
mkdir -p "$out"
for scene in columns export; do
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c "
    \"$tool\" $scene & pid=\$!
    sleep 2
    import -window root \"$out/sheet-$scene.png\"
    kill \$pid" 
  echo "$out/sheet-$scene.png"
done
