#!/usr/bin/env bash
# Installs what is missing, builds and runs every test twice: a Release build (optimised, as users
# get it; build-release/) and a build with AddressSanitizer + UndefinedBehaviorSanitizer
# (build-asan/); then runs each fuzz target for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
for variant in normal sanitize; do
  if [ "$variant" = normal ]; then
    dir="$root/build-release"; opts=(-DCMAKE_BUILD_TYPE=Release)
  else
    dir="$root/build-asan"; opts=(-DCMAKE_BUILD_TYPE=Debug -DXAMO_SANITIZE=ON)
  fi
  echo "=== $variant build ==="
  "$root/scripts/build.sh" "$dir" "${opts[@]}"
  (cd "$dir" && ctest --output-on-failure --parallel "$(nproc)")
done
echo "=== fuzzing ==="
# Long enough for the slowest target (console) to pass the 1,000 inputs fuzz.sh requires on two
# busy cores.
"$root/scripts/fuzz.sh" "${XAMO_FUZZ_SECONDS:-30}"
