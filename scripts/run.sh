#!/usr/bin/env bash
# Installs what is missing, builds, and opens the draw screen on the event in the
# program folder build/Kelvara抽奖软件/ (the shipped demo event on a first run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
exec "build/Kelvara抽奖软件/Kelvara抽奖软件"
