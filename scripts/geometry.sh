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
#                   --gtest_filter='Couplings/EditedSweep.*/muvp_0'; says how many cases it runs of those
#                   listed, writes the counts per coupling and every unsound case to build/geometry/edited/,
#                   and fails on an unsound case, a shard that fails, or one that ran fewer cases than listed
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
  if ! [[ "$jobs" =~ ^[1-9][0-9]*$ && "$shards" =~ ^[1-9][0-9]*$ ]] ||
    [[ -n "$only" && ! ( "$only" =~ ^[0-9]+$ && "$only" -lt "$shards" ) ]]; then
    echo "--jobs and --shards take a count, --shard one of 0 to $((shards - 1)) (given: $jobs, $shards, ${only:-none})" >&2
    exit 2
  fi
  build=build/geometry
  # The script's own tests name a stand-in for the test program (and where its results go) instead.
  program=${HXCAD_EDITED_PROGRAM:-}
  if [[ -z "$program" ]]; then
    scripts/deps.sh
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
    cmake --build "$build" -j "$(nproc)" --target test_coupling_solids
    program=$build/tests/coupling_solids/test_coupling_solids
  fi
  out=${HXCAD_EDITED_OUT:-$build/edited}
  mkdir -p "$out"
  # How many cases each coupling has: a shard that stops early (a failed assertion ends the coupling it is
  # on, a crash all that follow) must not pass for one that ran them all.
  if ! HXCAD_GEOMETRY_ROWS=all HXCAD_EDITED_LIST=1 "$program" --gtest_filter='Couplings/EditedSweep.*' "$@" \
    > "$out/list.log" 2>&1; then
    echo "listing the cases failed: $out/list.log" >&2
    exit 1
  fi
  sed -n 's/^\([A-Za-z0-9_]*\): [0-9]* edits, \([0-9]*\) cases$/\1\t\2/p' "$out/list.log" > "$out/listed.txt"
  if [[ ! -s "$out/listed.txt" ]]; then
    echo "no cases listed: $out/list.log" >&2
    exit 1
  fi
  parts=$(seq 0 $((shards - 1)))
  [[ -n "$only" ]] && parts=$only
  # The cases of shard k of n: those whose index in their coupling's list leaves k divided by n.
  share() {
    awk -F'\t' -v k="$1" -v n="$shards" '{ c = $2 > k ? int(($2 - 1 - k) / n) + 1 : 0; print $1 "\t" c }' \
      "$out/listed.txt"
  }
  listed=$(awk -F'\t' '{ s += $2 } END { print s }' "$out/listed.txt")
  mine=$(for k in $parts; do share "$k"; done | awk -F'\t' '{ s += $2 } END { print s }')
  echo "$mine of the $listed cases listed, in $(wc -w <<< "$parts") of $shards shards, $jobs side by side"
  # A run of every part starts afresh; a run of one part adds to those of the others run before.
  if [[ -z "$only" ]]; then
    rm -f "$out"/cases-*.txt "$out"/run-*.log
  fi
  declare -A shard_of=() status=()
  # Waits for the next shard to end and keeps its exit status.
  reap() {
    local pid rc=0
    wait -n -p pid || rc=$?
    status[${shard_of[$pid]}]=$rc
  }
  for k in $parts; do
    : > "$out/cases-$k.txt"
    HXCAD_GEOMETRY_ROWS=all HXCAD_EDITED_SHARD="$k/$shards" HXCAD_EDITED_REPORT="$out/cases-$k.txt" \
      "$program" --gtest_filter='Couplings/EditedSweep.*' "$@" > "$out/run-$k.log" 2>&1 &
    shard_of[$!]=$k
    if [[ $((${#shard_of[@]} - ${#status[@]})) -ge $jobs ]]; then
      reap
    fi
  done
  while [[ ${#status[@]} -lt ${#shard_of[@]} ]]; do
    reap
  done
  # Every case is one line: coupling, table, row, column, value, the row built on, and its verdict.
  cat "$out"/cases-*.txt > "$out/cases.txt"
  awk -F'\t' '{ v = $7 == "sound" || $7 == "refused" ? $7 : "unsound"; n[$1 "\t" v]++; k[$1] = 1 }
       END { for (c in k) printf "%s: %d sound, %d refused, %d unsound\n", c, n[c "\tsound"], n[c "\trefused"],
             n[c "\tunsound"] }' "$out/cases.txt" | sort | tee "$out/counts.txt"
  awk -F'\t' '$7 != "sound" && $7 != "refused"' "$out/cases.txt" > "$out/unsound.txt"
  echo "cases: $out/cases.txt; unsound: $out/unsound.txt ($(wc -l < "$out/unsound.txt"))"
  failed=0
  [[ -s "$out/unsound.txt" ]] && failed=1
  for k in $parts; do
    if [[ ${status[$k]} -ne 0 ]]; then
      echo "shard $k of $shards exited with status ${status[$k]}: $out/run-$k.log" >&2
      failed=1
    fi
    short=$(awk -F'\t' -v k="$k" -v n="$shards" 'FILENAME == ARGV[1] { want[$1] = $2; next } { ran[$1]++ }
      END { for (c in want) if (ran[c] + 0 != want[c])
              printf "shard %d of %d ran %d of the %d cases of %s\n", k, n, ran[c], want[c], c }' \
      <(share "$k") "$out/cases-$k.txt")
    if [[ -n "$short" ]]; then
      echo "$short" >&2
      failed=1
    fi
  done
  exit $failed
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
