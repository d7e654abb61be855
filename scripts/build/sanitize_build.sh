#!/usr/bin/env bash
# scripts/build/sanitize_build.sh [TARGET...]
#
# Configures and builds build-sanitize/: the Qt-free core, its tests and the
# libFuzzer targets of fuzz/, all with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer. One build serves the sanitizer tests of
# scripts/test.sh and the fuzzers of scripts/checks/fuzz.sh, so nothing is compiled
# twice. Builds the given targets, or everything.
set -euo pipefail
cd "$(dirname "$0")/../.."

if ! command -v clang++ >/dev/null; then
  echo "sanitize_build: clang++ is missing (scripts/setup.sh installs it)" >&2
  exit 2
fi

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# -O1: the sanitizers' own advice, so that the fuzzers run at a useful speed
# while the compiler keeps what the sanitizers check. Line tables are all the
# sanitizers' reports need for file and line; full debug information would
# only slow the build. The libraries are unity builds.
cmake -S . -B build-sanitize "${generator[@]}" "${launcher[@]}" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-gline-tables-only -O1" \
  -DKV_CORE_ONLY=ON -DKV_SANITIZE=ON -DKV_FUZZ=ON -DKV_UNITY_BUILD=ON >/dev/null

target_args=()
[ $# -gt 0 ] && target_args=(--target "$@")
cmake --build build-sanitize -j "$(nproc)" "${target_args[@]}"
