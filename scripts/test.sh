#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: all tests in
# the normal build, then the tests of the Qt-free core under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short crash test and a few seconds of each
# fuzzing target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
python3 scripts/check_layers.py

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
jobs=$(nproc)

# Only what the tests need: the benchmarks and screenshot programs stay out.
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_BENCH=OFF >/dev/null
cmake --build build -j "$jobs"
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j "$jobs")
bash scripts/package_check.sh build

cmake -S . -B build-sanitize "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DKV_CORE_ONLY=ON -DKV_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-sanitize && ctest --output-on-failure -j "$jobs")

# A short run of each; scripts/crash_test.sh and scripts/fuzz.sh take longer counts.
bash scripts/crash_test.sh 30
bash scripts/fuzz.sh 4
