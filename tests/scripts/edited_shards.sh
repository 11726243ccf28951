#!/usr/bin/env bash
# scripts/geometry.sh --edits passed ("0 unsound", exit 0) when a shard crashed or stopped early: it
# threw away each shard's exit status and judged by the unsound cases alone. Run here on a stand-in test
# program of two couplings (7 and 5 cases) whose shard 1 ends as FAKE says; only a whole, clean run passes.
set -euo pipefail
geometry=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cat > "$dir/program" <<'PROGRAM'
#!/usr/bin/env bash
if [[ -n "${HXCAD_EDITED_LIST:-}" ]]; then
  printf 'a: 3 edits, 7 cases\nb: 2 edits, 5 cases\n'
  exit 0
fi
IFS=/ read -r k n <<< "$HXCAD_EDITED_SHARD"
for c in a:7 b:5; do
  name=${c%:*} all=${c#*:}
  for ((i = k; i < all; i += n)); do
    # A failed assertion ends the coupling: its last case is never run.
    [[ $k == 1 && $FAKE == short && $name == b && $((i + n)) -ge $all ]] && break
    verdict=sound
    [[ $k == 1 && $FAKE == unsound ]] && verdict="clash: a and b"
    printf '%s\tT\trow 1\tcolumn 2\t3\tbuilt on row %d\t%s\n' "$name" "$i" "$verdict" >> "$HXCAD_EDITED_REPORT"
  done
done
[[ $k == 1 && $FAKE == segv ]] && kill -SEGV $$
[[ $k == 1 && $FAKE == exit ]] && exit 1
exit 0
PROGRAM
chmod +x "$dir/program"
run() {
  HXCAD_EDITED_PROGRAM="$dir/program" HXCAD_EDITED_OUT="$dir/out" bash "$geometry" --edits "$@" > "$dir/log" 2>&1
}
for fake in segv exit short unsound; do
  if FAKE=$fake run --jobs 2 --shards 3; then
    echo "a shard ending as $fake passed:" >&2
    cat "$dir/log" >&2
    exit 1
  fi
done
# A whole run says how many cases it runs, and so does one shard of it.
FAKE=none run --jobs 2 --shards 3 || { cat "$dir/log" >&2; exit 1; }
grep -q '^12 of the 12 cases listed' "$dir/log" || { cat "$dir/log" >&2; exit 1; }
FAKE=none run --shards 3 --shard 1 || { cat "$dir/log" >&2; exit 1; }
grep -q '^4 of the 12 cases listed' "$dir/log" || { cat "$dir/log" >&2; exit 1; }
# So does a count or shard that is none.
! FAKE=none run --shards 3 --shard 3
