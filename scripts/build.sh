#!/usr/bin/env bash
# scripts/build.sh BUILD_DIR [--target TARGET]... [cmake options...]: configures and builds the
# project, or only the named targets (and what they need).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
targets=()
while [ $# -ge 2 ] && [ "$1" = --target ]; do
  targets+=(--target "$2")
  shift 2
done
cmake -S "$root" -B "$dir" -G Ninja "$@" > /dev/null
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
