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
#   without --full: the first, middle and last rows of every coupling
#   --full:         every row of every coupling (see the README for how long it takes)
# Extra arguments go to the solid sweep only.
set -euo pipefail
cd "$(dirname "$0")/.."

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
