#!/usr/bin/env bash
# Installs what is missing, builds and runs every test twice: a normal build and a build with
# AddressSanitizer + UndefinedBehaviorSanitizer; then runs each fuzz target for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
for variant in normal sanitize; do
  if [ "$variant" = normal ]; then
    dir="$root/build"; opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  else
    dir="$root/build-asan"; opts=(-DCMAKE_BUILD_TYPE=Debug -DXAMO_SANITIZE=ON)
  fi
  echo "=== $variant build ==="
  "$root/scripts/build.sh" "$dir" "${opts[@]}"
  (cd "$dir" && ctest --output-on-failure --parallel "$(nproc)")
done
echo "=== fuzzing ==="
"$root/scripts/fuzz.sh" "${XAMO_FUZZ_SECONDS:-30}"
