#!/usr/bin/env bash
# Builds the project and runs the main job in the stand-in host: txhost loads a plug-in
# through its entry point and plays a scenario (new documents, a command, saving,
# reopening), then prints what the host holds.
#
# The coupling library itself is not built yet, so the plug-in loaded here is the small
# test library of the stand-in host; this script switches to the coupling library when it
# exists.
#
# Usage: scripts/demo.sh [OUTPUT-FOLDER]
# The saved documents go into OUTPUT-FOLDER, which must be missing or empty (the script
# never deletes anything); by default into a new folder build/demo/run-* of the checkout.
set -euo pipefail

out=""
if [ $# -gt 1 ]; then
  echo "usage: scripts/demo.sh [OUTPUT-FOLDER]" >&2
  exit 2
fi
if [ $# -eq 1 ]; then
  # The folder is the caller's: resolve it before leaving the caller's directory.
  out=$(realpath -m -- "$1")
  if [ -e "$out" ] && [ ! -d "$out" ]; then
    echo "demo: $1 is not a folder" >&2
    exit 1
  fi
  if [ -d "$out" ] && [ -n "$(ls -A -- "$out")" ]; then
    echo "demo: $1 is not empty; give a new or empty folder (nothing was changed)" >&2
    exit 1
  fi
fi

cd "$(dirname "$0")/.."
scripts/deps.sh

# txhost and the plug-in come from the same build tree: a plug-in built with sanitizers
# cannot be loaded into a txhost built without them.
build=build/demo
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$(nproc)" --target txhost txhost_test_plugin

if [ -z "$out" ]; then
  mkdir -p "$build"
  out=$(mktemp -d "$PWD/$build/run-XXXXXX")
fi
mkdir -p -- "$out"
plugin=$(find "$PWD/$build" -name 'libTestTxLib.so' -print -quit)
"$build/txhost/txhost" run tests/data/txhost/drawing.txs --folder "$out" --define "plugin=$plugin"
echo "demo: the saved documents are in $out"
