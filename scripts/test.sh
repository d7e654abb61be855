#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: the window
# tests and the tests of the headless tools in the normal build, a short crash
# test, then the tests of the Qt-free core under AddressSanitizer and
# UndefinedBehaviorSanitizer and a few seconds of each fuzzing target, both from
# the one sanitizer build.
#
# Each phase ends with a line "PHASE <name> <seconds>" (its wall time) and a
# line "CPU <name> <seconds>" (the user and system time of its programs), so that
# a slow run shows where the time went.
set -euo pipefail
cd "$(dirname "$0")/.."

# The user+system time of the finished child processes, in whole seconds. The
# shell's own "times" is read in this shell: a subshell starts its count at zero.
times_file=$(mktemp)
trap 'rm -f "$times_file"' EXIT
children_cpu_seconds() {
  python3 -c 'import re, sys
lines = open(sys.argv[1]).read().split("\n")
print(round(sum(int(m) * 60 + float(s) for m, s in re.findall(r"(\d+)m([\d.]+)s", lines[1]))))' "$times_file"
}

# phase NAME COMMAND...: runs the command and reports its times.
phase() {
  local name=$1
  shift
  local start cpu_start
  start=$(date +%s)
  times >"$times_file"
  cpu_start=$(children_cpu_seconds)
  "$@"
  times >"$times_file"
  echo "PHASE $name $(($(date +%s) - start))"
  echo "CPU $name $(($(children_cpu_seconds) - cpu_start))"
}

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
jobs=$(nproc)

# with_huge_pages COMMAND...: runs a build with the C library's heap on huge
# pages where the kernel gives them on request. moc and clang build their data
# in millions of small allocations; on 4 KiB pages moc spends most of its time
# on page faults: Qt's code generators run about three times as fast, clang
# about a tenth faster. The programs under test run as they do for the user.
with_huge_pages() {
  GLIBC_TUNABLES="${GLIBC_TUNABLES:+$GLIBC_TUNABLES:}glibc.malloc.hugetlb=1" "$@"
}

build_normal() {
  # Only what the tests need: the benchmarks and screenshot programs stay out.
  # Release: the optimised program as it ships, without the debug information
  # that slows every compile (about a fifth) and every link. No compiler
  # launcher: the Qt headers are precompiled, which ccache would refuse.
  # The core's own tests are built and run once, in the sanitizer build. The
  # libraries are unity builds.
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_BENCH=OFF -DKV_CORE_TESTS=OFF \
    -DKV_UNITY_BUILD=ON >/dev/null
  with_huge_pages cmake --build build -j "$jobs"
}
test_normal() {
  (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
  bash scripts/checks/package_check.sh build
}
test_sanitize() {
  (cd build-sanitize &&
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      ctest --output-on-failure -j "$jobs")
}

phase setup bash scripts/setup.sh
phase layers python3 scripts/checks/check_layers.py
phase unity-check python3 scripts/checks/check_unity.py
phase build build_normal
phase tests test_normal
# A short crash test (scripts/checks/crash_test.sh takes a longer count). It mostly
# waits for the drivers it kills, so it runs beside the sanitizer build; its
# report follows the build's.
crash_log=$(mktemp)
crash_start=$(date +%s)
bash scripts/checks/crash_test.sh 30 >"$crash_log" 2>&1 &
crash_pid=$!
phase sanitize-build with_huge_pages bash scripts/build/sanitize_build.sh
crash_status=0
wait "$crash_pid" || crash_status=$?
cat "$crash_log"
rm -f "$crash_log"
echo "PHASE crash-test (beside the sanitizer build) $(($(date +%s) - crash_start))"
[ "$crash_status" -eq 0 ] || exit "$crash_status"
phase sanitize-tests test_sanitize
# A few seconds of each target; scripts/checks/fuzz.sh takes a longer time.
phase fuzz bash scripts/checks/fuzz.sh 4
