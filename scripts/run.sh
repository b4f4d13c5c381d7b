#!/usr/bin/env bash
# Installs what is missing, builds the program alone (the tests and benchmarks are built by
# scripts/test.sh), and starts it on the example knowledge base (the window program when a
# display is there).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" --target xamo_rd --target xamo_rd_gui -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$root/examples"
exec "$root/build/xamo_rd" "$@"
