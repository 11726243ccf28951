#!/usr/bin/env bash
# scripts/demo.sh DIR deleted DIR before writing into it ("scripts/demo.sh ." deleted the
# checkout). A folder with files in it, given as "." or by name, is refused and left whole.
set -euo pipefail
demo=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/.git"
echo keep > "$dir/file"
for arg in . "$dir" "$dir/file"; do
  if (cd "$dir" && bash "$demo" "$arg" > "$dir/.git/log" 2>&1); then
    echo "demo.sh $arg succeeded in a folder with files" >&2
    exit 1
  fi
  [ "$(cat "$dir/file")" = keep ] && [ -d "$dir/.git" ] || { echo "demo.sh $arg changed the folder" >&2; exit 1; }
done
grep -q "not a folder" "$dir/.git/log"
