#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages. Idempotent: installs only
# what is missing.
set -euo pipefail
# qt6-translations-l10n: Qt's own texts (file dialogs, context menus) in Polish.
packages=(build-essential cmake ninja-build pkg-config googletest libgtest-dev libbenchmark-dev
          qt6-base-dev qt6-translations-l10n libsdl2-dev unixodbc-dev libsqliteodbc xvfb xauth
          clang-format git clang libclang-rt-dev clips time)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
# The SARIF consumer test: Node with the JSON-schema validator and the published SARIF 2.1.0 schema,
# pinned by tests/sarif/package-lock.json.
if ! command -v npm >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y --no-install-recommends nodejs npm
fi
sarif_dir="$(cd "$(dirname "$0")/.." && pwd)/tests/sarif"
if [ ! -f "$sarif_dir/node_modules/.package-lock.json" ] ||
   [ "$sarif_dir/package-lock.json" -nt "$sarif_dir/node_modules/.package-lock.json" ]; then
  (cd "$sarif_dir" && npm ci --no-audit --no-fund --ignore-scripts)
fi
