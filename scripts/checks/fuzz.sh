#!/usr/bin/env bash
# scripts/checks/fuzz.sh [SECONDS] [TARGET...]
#
# Builds the libFuzzer targets of fuzz/ in the sanitizer build (build-sanitize/,
# scripts/build/sanitize_build.sh), then runs each one for SECONDS (default 60), as
# many at once as there are processors, niced. New inputs collect in build-sanitize/corpus/<target>
# (the seeds in fuzz/corpus/ are only read); a finding is saved under
# build-sanitize/findings/. Prints one line per target and
# exits 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-60}
shift || true
case "$seconds" in '' | *[!0-9]*) echo "usage: scripts/checks/fuzz.sh [SECONDS] [TARGET...]" >&2; exit 2 ;; esac

# Every fuzz/<name>_fuzz.cpp is the target fuzz_<name> (fuzz/CMakeLists.txt adds it).
all_targets=()
for source in fuzz/*_fuzz.cpp; do
  name=$(basename "$source" _fuzz.cpp)
  all_targets+=("fuzz_$name")
done
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")
bash scripts/build/sanitize_build.sh "${targets[@]}" >/dev/null

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-sanitize/findings

# fuzz_one TARGET: runs one target for its time and writes its line of the
# report to build-sanitize/TARGET.outcome; fails when it found something.
fuzz_one() {
  local target=$1 name=${1#fuzz_}
  local work=build-sanitize/corpus/$name log=build-sanitize/$1.log outcome runs corpus
  mkdir -p "$work"
  local seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  local found=0
  if nice -n 10 "build-sanitize/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=16384 -artifact_prefix="build-sanitize/findings/$name-" -print_final_stats=1 \
    "$work" "${seeds[@]}" >"$log" 2>&1; then
    outcome="no findings"
  else
    outcome="FINDING (see $log and build-sanitize/findings/)"
    found=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  corpus=$(find "$work" -type f | wc -l)
  printf '%-22s %4ss  %10s runs  corpus %5s  %s\n' "$target" "$seconds" "$runs" "$corpus" "$outcome" \
    >"build-sanitize/$target.outcome"
  return $found
}

# One target per processor at a time: each fuzzer runs on one thread, so the
# targets share the machine without taking time from each other.
parallel=$(nproc)
failed=0
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$parallel" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  fuzz_one "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
for target in "${targets[@]}"; do
  cat "build-sanitize/$target.outcome"
  rm -f "build-sanitize/$target.outcome"
done
exit $failed
