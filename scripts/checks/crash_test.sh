#!/usr/bin/env bash
# scripts/checks/crash_test.sh [RUNS]
#
# Kills the headless driver (build/tools/crash_driver) with SIGKILL at random
# instants while it draws whole events (batches, give-ups, supplementary places,
# restarts, fresh start-ups), RUNS times (default 40), then checks what the disk
# holds: every file parses, no record is lost or doubled, no line is torn but
# the last one a kill cut (start-up must then say so and drop that line alone),
# no award holds more winners than its places, start-up works, and after a kill
# inside a batch's stop start-up shows every winner of the batch that the disk
# holds. Each event folder takes three kills in a row, so start-ups resume from a
# killed run; one check in four first cuts a few bytes off the winners record, as
# a power cut could, and expects start-up to repair it. Every other event runs
# with every sync slowed (strace delays fsync and fdatasync by SYNC_DELAY_US,
# default 40000), as on a slow USB stick, so that kills land inside the records of
# a batch; without strace, or where tracing is not allowed, those runs go at full
# speed and the script says so. Prints the number of kills (and how many were
# slowed) and of faults found; exits 1 when a fault was found.
set -euo pipefail
cd "$(dirname "$0")/../.."

runs=${1:-40}
case "$runs" in '' | *[!0-9]*) echo "usage: scripts/checks/crash_test.sh [RUNS]" >&2; exit 2 ;; esac

if [ ! -f build/build.ninja ] && [ ! -f build/Makefile ]; then
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build -j "$(nproc)" --target crash_driver >/dev/null
driver=build/tools/crash_driver

work=$(mktemp -d)
[ -z "${CRASH_TEST_KEEP:-}" ] && trap 'rm -rf "$work"' EXIT

gbk() { iconv -f UTF-8 -t GBK; }

# An event folder; the variant picks the rolling mode, repeat winning and the
# predetermined winners, so that each kind of event gets killed.
make_event() {
  local dir=$1 variant=$2
  mkdir -p "$dir"
  {
    printf '[奖项设置]\r\n'
    printf '1=1|一等奖|2|1||手机||\r\n'
    printf '2=2|二等奖|5|2||平板||\r\n'
    printf '3=3|三等奖|9|4||"购物 卡"||\r\n'
    printf '[界面设置]\r\n抽奖顺序=%d\r\n重复中奖=%d\r\n抽奖准备=%d\r\n' $((variant % 2)) $(((variant / 2) % 2)) $(((variant / 4) % 2))
    printf '[窗体样式]\r\n滚动模式=%d\r\n' $((variant % 3 != 2))
    # Predetermined winners in both rolling modes: in award rolling a head takes
    # its award only while the award has a ticket left.
    printf '[内定设置]\r\nOpen=%d\r\n1=1|3|人3|1|一等奖\r\n' $((variant % 5 == 1))
    printf '[音效设置]\r\n背景音乐_check=0\r\n抽奖开始_check=0\r\n抽奖停止_check=0\r\n'
    printf '[系统设置]\r\n首次运行=0\r\n'
  } | gbk >"$dir/Config.ini"
  for i in $(seq 1 40); do printf '人%d\r\n' "$i"; done | gbk >"$dir/NameList.txt"
}

delay=${SYNC_DELAY_US:-40000}
slowing=()
if command -v strace >/dev/null && strace -f -qq -o /dev/null -e trace=fsync,fdatasync \
  -e inject=fsync,fdatasync:delay_exit=1 true 2>/dev/null; then
  slowing=(strace -f -qq -o /dev/null -e trace=fsync,fdatasync -e "inject=fsync,fdatasync:delay_exit=$delay")
else
  echo "crash test: strace cannot trace here; every run goes at full speed"
fi

kills=0
slowed=0
inside=0
faults=0
event=0
dir=""
journal=""
for ((run = 0; run < runs; ++run)); do
  if ((run % 3 == 0)); then
    event=$((event + 1))
    dir=$work/event$event
    journal=$work/journal$event
    make_event "$dir" "$event"
  fi
  rm -f "$journal.pid"
  tracer=()
  ((event % 2 == 0)) && tracer=("${slowing[@]}")
  "${tracer[@]}" "$driver" run "$dir" "$journal" "$RANDOM" 2>"$work/driver.err" &
  started=$!
  # The driver itself is killed, never the tracer that runs it (a tracer killed
  # first would let its driver run on): its id is in the pid file.
  for _ in $(seq 500); do
    [ -s "$journal.pid" ] && break
    sleep 0.01
  done
  pid=$started
  [ -s "$journal.pid" ] && pid=$(cat "$journal.pid")
  # A random instant: mostly early in an event, sometimes deep into it; slowed
  # runs take longer over the same work.
  if [ ${#tracer[@]} -gt 0 ]; then
    sleep "$((RANDOM % 2)).$(printf '%03d' $((RANDOM % 1000)))"
  else
    sleep "0.$(printf '%03d' $((RANDOM % 400 + 5)))"
  fi
  if kill -KILL "$pid" 2>/dev/null; then
    kills=$((kills + 1))
    [ ${#tracer[@]} -gt 0 ] && slowed=$((slowed + 1))
  fi
  wait "$started" 2>/dev/null || true
  # strace says when it loses a tracee in the middle of a delay; that is the kill.
  if grep -qv '^strace: ' "$work/driver.err"; then
    echo "FAULT driver: $(grep -v '^strace: ' "$work/driver.err" | head -c 300)"
    faults=$((faults + 1))
  fi
  cut=()
  ((RANDOM % 4 == 0)) && cut=(--cut $((RANDOM % 8 + 1)))
  if ! "$driver" check "$dir" "$journal" "${cut[@]}" >"$work/check.out"; then
    cat "$work/check.out"
    echo "  in $dir"
    faults=$((faults + 1))
  fi
  grep -q '^INTERRUPTED' "$work/check.out" && inside=$((inside + 1))
done
echo "crash test: $kills kills ($slowed with slowed syncs, $inside inside a batch's records), $faults faults found"
[ "$faults" -eq 0 ]
