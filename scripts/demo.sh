#!/usr/bin/env bash
# Builds the project and runs the main job in the stand-in host: txhost loads a plug-in
# through its entry point and plays a scenario (new documents, a command, saving,
# reopening), then prints what the host holds.
#
# The coupling library itself is not built yet, so the plug-in loaded here is the small
# test library of the stand-in host; this script switches to the coupling library when it
# exists. Usage: scripts/demo.sh [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh

build=build/demo
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$(nproc)" --target txhost txhost_test_plugin

out=$(realpath -m "${1:-$build/demo-run}")
rm -rf "$out"
mkdir -p "$out"
plugin=$(find "$PWD/$build" -name 'libTestTxLib.so' -print -quit)
"$build/txhost/txhost" run tests/data/txhost/drawing.txs --folder "$out" --define "plugin=$plugin"
echo "demo: the saved documents are in $out"
