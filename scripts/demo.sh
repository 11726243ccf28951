#!/usr/bin/env bash
# Builds the stand-in host and the coupling library and runs the main job: txhost loads
# libVUVudirido.so through its entry point and plays tests/data/duvozadu/demo.txs. The
# library's command places a sleeve-and-pin coupling in a new assembly (3D) and draws it as a
# section and a view in a new drawing (2D); the documents are saved, the drawing is also
# drawn as SVG, the assembly's parts are evaluated as solids and drawn shaded as PNG, and the
# script lists what was made and where.
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
cmake --build "$build" -j "$(nproc)" --target txhost VUVudirido

if [ -z "$out" ]; then
  mkdir -p "$build"
  out=$(mktemp -d "$PWD/$build/run-XXXXXX")
fi
mkdir -p -- "$out"
plugin="$PWD/$build/Duvozadu/libVUVudirido.so"
"$build/txhost/txhost" run tests/data/duvozadu/demo.txs --folder "$out" --define "plugin=$plugin"

echo
echo "demo: the coupling library: $plugin (with VUVudirido.tb and PhCoupling.tpt beside it)"
echo "demo: everything made is in $out:"
echo "  coupling.tas   the user's assembly, holding the coupling as one component"
echo "  coupling.tdr   the drawing: the coupling as a section and as a view, one block each"
echo "  coupling.svg   that drawing as a picture"
echo "  coupling3d.png the assembly's solids, shaded, from an isometric view"
echo "  *.tpt, *.tas   the coupling's parts and its own assembly, built by the library"
# The 3D coupling as a picture, its solids evaluated by the stand-in's solid modeller.
"$build/txhost/txhost" render "$out/coupling.tas" "$out/coupling3d.png"
(cd -- "$out" && ls -l -- *)
if command -v rsvg-convert > /dev/null; then
  rsvg-convert -w 1600 -b white "$out/coupling.svg" -o "$out/coupling.png"
  echo "demo: the drawing as PNG: $out/coupling.png"
else
  # Quoted for the shell, so that the command works when pasted whatever the folder's name.
  printf 'demo: to look at the drawing as PNG (rsvg-convert is in the Debian package librsvg2-bin):\n  rsvg-convert -w 1600 -b white %q -o %q\n' \
    "$out/coupling.svg" "$out/coupling.png"
fi
