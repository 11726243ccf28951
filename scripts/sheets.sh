#!/usr/bin/env bash
# Builds the mould parts' sheet sweep in Release and runs it: every mould part's sheet measured on its
# part's evaluated solid (every linear value a distance between faces, every diameter one of the solid),
# every part and assembly file through the solid evaluator's check (every cut removes material, one solid,
# no clash), the standard part built by code from its rows with each size pushed past the others (every
# true answer one valid solid, every refusal naming the relation its sizes break), and every part class with
# each of its sizes pushed past its neighbours (each refused with its reason and nothing drawn or written, or
# made with files the check passes). CI (plain ctest) runs the sweep's first, middle and last rows, the first
# row of each code and the protect support's pushed sizes; this script runs it all in Release.
# Usage: scripts/sheets.sh [--full | --crossings] [extra arguments of the test program, e.g. --gtest_filter=*spacer*]
#   without an option: the first, middle and last rows of every table, the parts without one at 0.5, 1, 2
#   --full:             every row of every table; each code's rows at 0.5 to 2 times, each size past every other
#   --crossings:        every sheet of every row and size laid out and checked as released, and the roughness
#                       signs with a stroke or value crossed by a line counted part by part
#   --ranges [SEED]:    each size of every part alone from a fifth to four times its sampled value, the
#                       others as sampled: every sheet checked as released; with SEED the factors are drawn
#                       over that range from it instead of listed
#   --between [SEED [COUNT]]: every part at COUNT (default 50) sizes drawn between the sampled ones from SEED
#                       (default: the time), some with a size pushed past its neighbours: each sheet checked as
#                       released and measured on its model, each part made whole or refused whole; each
#                       finding names the seed, the case and its sizes, the counts are printed part by part
# The whole run is long (the cap screws' hundreds of rows, each size past every other): it can be split into
# processes by HXCAD_CODES=FROM-TO (codes of the builder by code), HXCAD_SHARD=K/N (every Nth table row from
# the Kth) and HXCAD_PARTS=NAME,NAME (part classes), with HXCAD_SWEEP_TRACE=1 naming each call before it is
# made (the one a hang is in); the counts are printed per code and per part class.
set -euo pipefail
cd "$(dirname "$0")/.."

rows=ends
filter='*SheetMeasure*:BaseDetailSolids*:*PushedSizes*'
if [[ "${1:-}" == "--full" ]]; then
  rows=all
  shift
elif [[ "${1:-}" == "--crossings" ]]; then
  filter='*ReleaseSweep*:*SignsCrossedOnEverySheetAreCounted*'
  export HXCAD_SHEET_CROSSINGS=1
  shift
elif [[ "${1:-}" == "--ranges" ]]; then
  filter='*EachSizeAloneAcrossItsRange*'
  export HXCAD_SIZE_RANGES=1
  shift
  if [[ "${1:-}" =~ ^[0-9]+$ ]]; then
    export HXCAD_SIZE_SEED="$1"
    shift
  fi
elif [[ "${1:-}" == "--between" ]]; then
  filter='*ReleaseSweepBetween*:*AtSizesDrawnBetween*'
  shift
  export HXCAD_SHEET_SEED="${1:-$(date +%s)}" HXCAD_SHEET_COUNT="${2:-50}"
  shift $(($# < 2 ? $# : 2))
  echo "seed $HXCAD_SHEET_SEED, $HXCAD_SHEET_COUNT cases a part"
fi

scripts/deps.sh

build=build/geometry
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$(nproc)" --target test_stdparts

HXCAD_GEOMETRY_ROWS=$rows "$build/tests/stdparts/test_stdparts" --gtest_filter="$filter" "$@"
