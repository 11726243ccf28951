#!/usr/bin/env bash
# Builds the coupling geometry sweep in Release and runs it on the first, middle and last rows of every
# coupling: each built in 3D on the stand-in host and evaluated as solids (every cut removes material, every
# part is one solid, no clash, every bolt and pin in the holes of the parts it joins), the toothed couplings'
# gear clash included, which CI leaves out for its minutes of modelling.
# Usage: scripts/geometry.sh [extra arguments of the test program, e.g. --gtest_filter=*toroidal*]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh

build=build/geometry
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$(nproc)" --target test_coupling_solids

HXCAD_GEOMETRY_ROWS=all "$build/tests/coupling_solids/test_coupling_solids" "$@"
