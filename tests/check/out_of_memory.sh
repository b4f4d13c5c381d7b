#!/usr/bin/env bash
# A rule chain whose flattenings double at every level, checked without a time limit in a small
# address space: the diagnosis runs out of memory, and the check says so (exit 3), never "clean".
# The second rule of a level holds the first one's conditions, so the redundancy search must
# compare their flattenings.
set -euo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
n=1
below=start
for level in $(seq 1 23); do
  printf 'regu\xb3a(%d,"c%d",["%s","a%d"],1)\r\n' "$n" "$level" "$below" "$level"
  printf 'regu\xb3a(%d,"c%d",["%s","a%d","b%d"],1)\r\n' "$((n + 1))" "$level" "$below" "$level" \
    "$level"
  n=$((n + 2))
  below="c$level"
done > "$work/REoom.BRD"
status=0
(ulimit -v 450000; "$exe" --check --time-limit 0 "$work/REoom.BRD") > "$work/out" 2>&1 || status=$?
cat "$work/out"
[ "$status" = 3 ] || { echo "exit status $status, expected 3" >&2; exit 1; }
grep -q '\[RD903\]' "$work/out"
