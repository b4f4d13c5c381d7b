#!/usr/bin/env bash
# bench/load_times.sh BUILD_DIR [SHAPE:RULES ...]
# The whole process of loading a generated rule base through the console (command 10058, every
# question answered by its default, then quit), without inference: wall time, user CPU time and
# peak memory, each the median of XAMO_BENCH_RUNS runs (default 3), and the file's size. The start
# and end of the process alone are measured too (quit at once) and printed beside.
set -euo pipefail
build=$(cd "$1" && pwd)
shift
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(reversed:100000 wide:100000)
runs=${XAMO_BENCH_RUNS:-3}
[ -x /usr/bin/time ] || { echo "/usr/bin/time is not installed (scripts/setup.sh installs it)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# "WALL USER KB" of the console run on the script $1, each the median of `runs`. Times come from
# the shell's `time`, to the millisecond (/usr/bin/time gives them in steps of 10 ms); the peak
# from /usr/bin/time, in a run of its own.
measure() {
  : > "$work/times"
  local TIMEFORMAT='%3R %3U'
  for _ in $(seq "$runs"); do
    { time "$build/xamo_rd" --console --batch "$work" < "$1" > "$work/out" 2> /dev/null; } \
      2> "$work/shell_time" || true
    /usr/bin/time -f '%M' -o "$work/time" \
      "$build/xamo_rd" --console --batch "$work" < "$1" > /dev/null 2> /dev/null || true
    echo "$(tail -1 "$work/shell_time") $(tail -1 "$work/time")" >> "$work/times"
  done
  for column in 1 2 3; do awk -v c="$column" '{ print $c }' "$work/times" | median; done | paste -sd ' '
}

printf 'q\ntak\n' > "$work/quit"
{ printf '10058\nREbench.BRD\n'; printf '\n%.0s' {1..12}; printf 'q\ntak\n'; } > "$work/load"
read -r empty_s empty_user _ < <(measure "$work/quit")
printf '%-9s %9s %8s | %7s %7s %8s | %s\n' shape rules "file MB" "wall s" "user s" "peak MB" \
  "empty process: wall / user s"
for item in "${cases[@]}"; do
  IFS=: read -r shape rules <<< "$item"
  "$build/bench/xamo_generate" "$shape" "$rules" "$work/REbench.BRD"
  read -r wall user kb < <(measure "$work/load")
  grep -q 'została załadowana' "$work/out" || { echo "$item: the base was not loaded"; exit 1; }
  awk -v s="$shape" -v r="$rules" -v f="$(stat -c %s "$work/REbench.BRD")" -v w="$wall" \
      -v u="$user" -v k="$kb" -v ew="$empty_s" -v eu="$empty_user" 'BEGIN {
    printf "%-9s %9d %8.1f | %7.3f %7.3f %8.1f | %.3f / %.3f\n", s, r, f / 1e6, w, u, k / 1024, ew, eu }'
done
