#!/usr/bin/env bash
# The stand-in's renderer linked a library of tests/: what ships builds from its own folders. No
# CMakeLists.txt of the shipped folders names a library that tests/ defines, and no source there
# includes a header of tests/.
set -euo pipefail
root=$1
shipped=("$root/txapi" "$root/txhost" "$root/hxcadkit" "$root/Duvozadu")
status=0
for lib in $(grep -rhoE 'add_library\([A-Za-z0-9_]+' --include=CMakeLists.txt "$root/tests" | sed 's/add_library(//' | sort -u); do
  if users=$(grep -rlw --include=CMakeLists.txt -e "$lib" "${shipped[@]}"); then
    echo "shipped code links $lib of tests/: $users" >&2
    status=1
  fi
done
if users=$(grep -rlE '#include[[:space:]]*"tests/' --include='*.h' --include='*.cpp' "${shipped[@]}"); then
  echo "shipped code includes headers of tests/: $users" >&2
  status=1
fi
exit $status
