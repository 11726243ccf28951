#!/usr/bin/env bash
# Builds the coupling geometry sweep in Release and runs it: every coupling built in 3D on the stand-in
# host and evaluated as solids (every cut removes material, every part is one solid, no clash, every
# fastener in the holes of the parts it joins, every half's bore its shaft's, conical ones 1:10), each row
# twice (bore types 1/1 on its shaft, 3/4 with a second shaft of its torque group), the toothed couplings'
# gear clash included, which CI leaves out for its minutes of modelling. Then the same over edited copies of
# the text base: the fastener counts a user may write (none, odd, fractional) seated as solids, and every
# coupling's table check against what its builders read (columns no builder reads set to 0 or huge, sizes
# to 0 and -1, every value huge), each build sound or refused once with its table and row.
# Usage: scripts/geometry.sh [--full] [extra arguments of the test program, e.g. --gtest_filter=*toroidal*]
#        scripts/geometry.sh --edits [--jobs N] [--shards N] [--shard K] [extra arguments]
#   without --full: the first, middle and last rows of every coupling
#   --full:         every row of every coupling (see the README for how long it takes)
#   --edits:        only the sweep over copies of the base edited one value at a time, every row of every
#                   coupling in section, view and 3D, each case sound or refused once with its table and row;
#                   split into --shards parts (default: --jobs, default 3), --jobs of them side by side, or
#                   only part K of them (to share the sweep between machines); one coupling alone with e.g.
#                   --gtest_filter='Couplings/EditedSweep.*/muvp_0'; the counts per coupling and every
#                   unsound case are written to build/geometry/edited/
# Extra arguments go to the solid sweep only.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" == "--edits" ]]; then
  shift
  jobs=3 shards= only=
  while [[ $# -gt 0 ]]; do
    case "$1" in
      --jobs) jobs=$2; shift 2 ;;
      --shards) shards=$2; shift 2 ;;
      --shard) only=$2; shift 2 ;;
      *) break ;;
    esac
  done
  shards=${shards:-$jobs}
  scripts/deps.sh
  build=build/geometry
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
  cmake --build "$build" -j "$(nproc)" --target test_coupling_solids
  out=$build/edited
  mkdir -p "$out"
  parts=$(seq 0 $((shards - 1)))
  [[ -n "$only" ]] && parts=$only
  # A run of every part starts afresh; a run of one part adds to those of the others run before.
  if [[ -z "$only" ]]; then
    rm -f "$out"/cases-*.txt
  else
    rm -f "$out/cases-$only.txt"
  fi
  running=0
  for k in $parts; do
    HXCAD_GEOMETRY_ROWS=all HXCAD_EDITED_SHARD="$k/$shards" HXCAD_EDITED_REPORT="$out/cases-$k.txt" \
      "$build/tests/coupling_solids/test_coupling_solids" --gtest_filter='Couplings/EditedSweep.*' "$@" \
      > "$out/run-$k.log" 2>&1 &
    running=$((running + 1))
    if [[ $running -ge $jobs ]]; then
      wait -n || true
      running=$((running - 1))
    fi
  done
  wait || true
  # Every case is one line: coupling, table, row, column, value, the row built on, and its verdict.
  cat "$out"/cases-*.txt > "$out/cases.txt"
  awk -F'\t' '{ v = $7 == "sound" || $7 == "refused" ? $7 : "unsound"; n[$1 "\t" v]++; k[$1] = 1 }
       END { for (c in k) printf "%s: %d sound, %d refused, %d unsound\n", c, n[c "\tsound"], n[c "\trefused"],
             n[c "\tunsound"] }' "$out/cases.txt" | sort | tee "$out/counts.txt"
  awk -F'\t' '$7 != "sound" && $7 != "refused"' "$out/cases.txt" > "$out/unsound.txt"
  echo "cases: $out/cases.txt; unsound: $out/unsound.txt ($(wc -l < "$out/unsound.txt"))"
  [[ ! -s "$out/unsound.txt" ]]
  exit
fi

rows=ends
if [[ "${1:-}" == "--full" ]]; then
  rows=all
  shift
fi

scripts/deps.sh

build=build/geometry
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$(nproc)" --target test_coupling_solids test_duvozadu

HXCAD_GEOMETRY_ROWS=$rows "$build/tests/coupling_solids/test_coupling_solids" "$@"
HXCAD_GEOMETRY_ROWS=$rows "$build/tests/duvozadu/test_duvozadu" --gtest_filter='Couplings/EditedTables.*'
