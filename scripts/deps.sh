#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need, and
# those named as arguments (scripts/fuzz.sh asks for clang).
# Idempotent: installs only what is missing, and refreshes the package lists
# once, only when something has to be installed.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  # the linker (CMakeLists.txt) and the build tool of scripts/test.sh
  lld ninja-build
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev zlib1g-dev libmuparser-dev
  locales
  # OpenGL 1.x and GLU, Mesa's software rasteriser behind EGL for offscreen drawing, freeglut
  # (the text benchmark's baseline), FreeType and DejaVu Sans (the font generator), libpng
  # (golden images)
  libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri freeglut3-dev
  libfreetype-dev fonts-dejavu-core libpng-dev
  # LAPACK and CGAL: references of the numeric tests and benchmarks
  liblapacke-dev libcgal-dev
  # Boost.Geometry: reference of the geometry tests and benchmarks
  libboost-dev
  # Open CASCADE Technology: the stand-in host's solid evaluator (never linked into the plug-in)
  libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev libocct-data-exchange-dev
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
