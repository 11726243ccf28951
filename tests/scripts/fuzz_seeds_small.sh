#!/usr/bin/env bash
# Large inputs had joined the seed corpora, and the fuzzer mutating them ran a few inputs a second.
# A seed is at most 64 KiB; larger inputs are packed in fuzz/large/<target>/, which ctest replays.
set -euo pipefail
root=$1
large=$(find "$root/fuzz/corpus" -type f -size +64k)
if [ -n "$large" ]; then
  echo "seeds larger than 64 KiB (they go packed into fuzz/large/<target>/): $large" >&2
  exit 1
fi
