#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the example knowledge base.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$root/examples"
exec "$root/build/xamo_rd" "$@"
