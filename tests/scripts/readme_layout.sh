#!/usr/bin/env bash
# The README's layout listed folders that did not exist. Every folder its layout block names
# (a line "    name/  ...") must exist in the checkout.
set -euo pipefail
root=$1
missing=$(sed -n '/^## Layout/,/^## /p' "$root/README.md" |
  sed -n 's|^    \([A-Za-z0-9_.-]*\)/ .*|\1|p' |
  while read -r d; do [ -d "$root/$d" ] || echo "$d/"; done)
if [ -n "$missing" ]; then
  echo "README.md lists folders that do not exist: $missing" >&2
  exit 1
fi
