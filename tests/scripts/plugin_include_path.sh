#!/usr/bin/env bash
# The framework's adapter included a header of the stand-in host, and nothing in the build said so: the
# plug-in could not be built against a host that ships only its API. Every source and header of the
# framework and the coupling library goes through the compiler's preprocessor with only hxcadkit/,
# Duvozadu/ and txapi/ to find its includes in (besides the system's own headers), so each include must
# resolve there; an include of txhost/ is named whatever else holds.
set -euo pipefail
root=$1
cxx=${2:-c++}
status=0
if users=$(grep -rlE '#[[:space:]]*include[[:space:]]*[<"](\.\./)*txhost/' --include='*.h' --include='*.cpp' \
  "$root/hxcadkit" "$root/Duvozadu"); then
  echo "the plug-in includes headers of the stand-in host: $users" >&2
  status=1
fi
only=$(mktemp -d)
trap 'rm -rf "$only"' EXIT
for d in hxcadkit Duvozadu txapi; do ln -s "$root/$d" "$only/$d"; done
# One unit that includes every file through the links (each header is read once), so that an include
# relative to a file stays inside the three folders as well.
(cd "$only" && find -L hxcadkit Duvozadu -name '*.h' -o -name '*.cpp' | sort -t. -k2r |
  sed 's|.*|#include "&"|') >"$only/all.cpp"
if ! (cd "$only" && "$cxx" -std=c++20 -w -E -I. all.cpp -o /dev/null); then
  echo "not built with only hxcadkit, Duvozadu and txapi to include from (above)" >&2
  status=1
fi
exit $status
