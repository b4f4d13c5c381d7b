#!/usr/bin/env bash
# scripts/build.sh BUILD_DIR [cmake options...]: configures and builds the project.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
cmake -S "$root" -B "$dir" -G Ninja "$@" > /dev/null
cmake --build "$dir" --parallel "$(nproc)"
