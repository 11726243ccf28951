#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test. Usage: scripts/test.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh

build=build/asan
jobs=$(nproc)
# A cold build compiles each target's files as one unit (unity build): the headers and templates they share
# are compiled once per target instead of once per file, well under half the compile time.
# Ninja compiles a program's unit while the libraries it links are still building (make waits for them), so
# that the largest test units do not start last, alone on one core (a cold build on two cores took 429 s with
# Ninja, 486 s with make). A tree configured before keeps its generator.
generator=()
if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=(-G Ninja)
fi
cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHXCAD_SANITIZE=ON \
  -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=0
cmake --build "$build" -j "$jobs"

# AddressSanitizer records where each block was allocated and freed, for its reports; the stacks of the solid
# modeller's allocations run some thirty frames deep, and walking and storing them took a tenth of the tests'
# time. Ten frames name the caller in our code (and the libraries that the leak suppressions name).
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1:malloc_context_size=10}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
