#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS]: builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for SECONDS (default 300) on top of its committed
# corpus. New inputs go to a temporary copy; an input that crashes is copied into the corpus as
# crash-<hash>, so that every later build replays it (ctest -R fuzz_corpus), and the script fails.
# It fails too when a target executed fewer than MIN_RUNS inputs (default 1000): a run that tests
# nothing must not pass. Each target's temporary files go to a directory removed afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
min_runs=${XAMO_FUZZ_MIN_RUNS:-1000}
dir="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DXAMO_SANITIZE=ON -DXAMO_FUZZ=ON -DXAMO_BUILD_BENCH=OFF > /dev/null
targets=(base_file case_table console media_files)
cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]/#/xamo_fuzz_}"
status=0
for target in "${targets[@]}"; do
  work=$(mktemp -d)
  cp "$root/tests/fuzz/corpus/$target/"* "$work/"
  artifacts=$(mktemp -d)
  scratch=$(mktemp -d)
  echo "=== fuzzing $target for $seconds s ==="
  if ! TMPDIR="$scratch" "$dir/tests/fuzz/xamo_fuzz_$target" "$work" -max_total_time="$seconds" \
      -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      2> "$artifacts/log"; then
    status=1
    tail -40 "$artifacts/log"
    for crash in "$artifacts"/crash-* "$artifacts"/timeout-* "$artifacts"/oom-*; do
      [ -f "$crash" ] && cp "$crash" "$root/tests/fuzz/corpus/$target/"
    done
  else
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$artifacts/log" | tail -1)
    echo "$target: ${runs:-no} inputs executed"
    if [ "${runs:-0}" -lt "$min_runs" ]; then
      echo "$target executed fewer than $min_runs inputs" >&2
      tail -20 "$artifacts/log"
      status=1
    fi
  fi
  rm -rf "$work" "$artifacts" "$scratch"
done
exit $status
