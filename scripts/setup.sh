#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Quick when all is present: apt-get runs only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins
  libqt6svg6 qt6-image-formats-plugins qt6-translations-l10n
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-libav gstreamer1.0-alsa gstreamer1.0-pulseaudio
  libjpeg62-turbo-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk fonts-arphic-ukai fonts-hanazono fonts-dejavu-core
  xvfb xauth imagemagick x11-utils x11-xserver-utils sox xdotool openbox
  libxlsxwriter-dev libzip-dev libcsv-dev libfreexl-dev
  dpkg-dev file desktop-file-utils lintian man-db python3
  clang libclang-rt-dev lld strace gdb
  qt6-httpserver-dev qt6-websockets-dev libqrencode-dev
  chromium chromium-driver python3-selenium zbar-tools
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
