#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and fuzzes each, starting from its seed corpus, for
# SECONDS (default 60).
#
# Usage: scripts/fuzz.sh [SECONDS [TARGET...]]     e.g. scripts/fuzz.sh 300 textbase docfile
# TARGET is a folder name of fuzz/corpus/ (the program is fuzz_TARGET); without one, every target
# runs in turn. The targets are built with AddressSanitizer and UndefinedBehaviorSanitizer. The seeds
# in fuzz/corpus/ are only read: the inputs the fuzzer adds go to build/fuzz/corpus/TARGET/, and an
# input that fails is written to build/fuzz/findings/ and stops the script. The inputs of fuzz/large/
# are not fuzzed (mutating them slowed a target to a few inputs a second); ctest replays them.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: scripts/fuzz.sh [SECONDS [TARGET...]]" >&2
  exit 2
fi
[ $# -gt 0 ] && shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=($(ls fuzz/corpus))
fi
for t in "${targets[@]}"; do
  if [ ! -d "fuzz/corpus/$t" ]; then
    echo "fuzz: no target $t (the targets are the folders of fuzz/corpus/)" >&2
    exit 2
  fi
done

scripts/deps.sh clang
build=build/fuzz
# A memory error, undefined behaviour or a leak fails the input as a crash does.
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHXCAD_FUZZ=ON -DHXCAD_SANITIZE=ON \
  > /dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz

mkdir -p "$build/findings"
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  echo "fuzz: $t for $seconds s"
  # A feature is rare while seen fewer than 16 times (libFuzzer's default: 256). The fuzzer keeps the
  # frequencies of the rare ones after every input: with the default, a target whose every input runs
  # thousands of branches (the command framework's) spent over half its time on that list.
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
    -entropic_feature_frequency_threshold=16 \
    -artifact_prefix="$build/findings/$t-" "$build/corpus/$t" "fuzz/corpus/$t"
done
echo "fuzz: every target ran $seconds s without a failure"
