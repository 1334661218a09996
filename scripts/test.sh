#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. With "asan" as the
# argument the sanitizer build runs the suite instead of the default build.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
scripts/setup.sh
scripts/build.sh "$preset"
ctest --preset "$preset" -j2
