#!/usr/bin/env bash
# Screenshots of the spreadsheet column dialog and of the winners export's save
# dialog with its three formats, under Xvfb, into shots/ (after a build).
set -euo pipefail
# shellcheck source=scripts/lib/draw_screen_lib.sh
source "$(dirname "$0")/../lib/draw_screen_lib.sh"
cd "$KV_ROOT"
tool=build/tools/sheet_shots
out=shots
mkdir -p "$out"
begin_session
start_xvfb 1280x800
# The column dialog; the save dialog with its list of formats open. The program
# stays until it is ended.
SHOOT_END="kill" shoot_scene "$out/sheet-columns.png" 1 "$tool" columns
SHOOT_END="kill" shoot_scene "$out/sheet-export.png" 2 "$tool" export
