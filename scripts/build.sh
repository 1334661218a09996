#!/usr/bin/env bash
# Configures and builds one preset (default: "default"), or with "windows"
# cross-builds for Windows (scripts/windows/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
[ "$preset" != windows ] || exec scripts/windows/build.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
