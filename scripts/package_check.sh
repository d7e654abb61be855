#!/usr/bin/env bash
# Builds the Debian package from an existing build folder and checks what a user
# gets: the program folder with the shipped files, the launcher, a valid desktop
# entry, the icons, and the dependencies the program needs at run time.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cmake --build "$build" --target package >/dev/null
deb=$(ls -t "$build"/kelvara_*.deb | head -n 1)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')

faults=0
for path in ./usr/bin/kelvara ./usr/lib/kelvara/Kelvara抽奖软件 ./usr/lib/kelvara/SysConfig.ini \
  ./usr/lib/kelvara/libkv_sound.so ./usr/lib/kelvara/libkv_workbook.so \
  ./usr/lib/kelvara/NameList.txt ./usr/lib/kelvara/music/背景音乐.wav ./usr/lib/kelvara/help.html \
  ./usr/share/applications/kelvara.desktop ./usr/share/icons/hicolor/256x256/apps/kelvara.png \
  ./usr/share/icons/hicolor/48x48/apps/kelvara.png; do
  if ! grep -qxF "$path" <<<"$contents"; then
    echo "package_check: missing $path"
    faults=$((faults + 1))
  fi
done

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6multimedia6 libzip4 libxlsxwriter fonts-noto-cjk gstreamer1.0-plugins-good; do
  if ! grep -q "$package" <<<"$depends"; then
    echo "package_check: Depends lacks $package"
    faults=$((faults + 1))
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
if ! desktop-file-validate "$scratch/usr/share/applications/kelvara.desktop"; then
  faults=$((faults + 1))
fi
if [ "$(readlink "$scratch/usr/bin/kelvara")" != "../lib/kelvara/Kelvara抽奖软件" ]; then
  echo "package_check: /usr/bin/kelvara does not lead to the program"
  faults=$((faults + 1))
fi

echo "package_check: $(basename "$deb"), $(grep -c . <<<"$contents") entries, $faults faults"
[ "$faults" -eq 0 ]
