#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test. Usage: scripts/test.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh

build=build/asan
jobs=$(nproc)
# A cold build compiles each folder's files as a few units (unity build): the headers and templates they
# share are compiled once per unit instead of once per file, about half the compile time.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHXCAD_SANITIZE=ON -DCMAKE_UNITY_BUILD=ON
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
