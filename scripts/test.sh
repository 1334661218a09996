#!/usr/bin/env bash
# scripts/test.sh [PRESET]...
# Installs what is missing, builds, and runs every test: first in the default
# build, then in the sanitizer build ("asan": AddressSanitizer, LeakSanitizer,
# UndefinedBehaviorSanitizer), where any sanitizer report fails the test that
# caused it. Then "windows": cross-built for Windows and packaged
# (scripts/package.sh windows), its tests run under Wine
# (tests/windows/README.md). Name presets to run only those, e.g.
# "scripts/test.sh default".
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- default asan windows
scripts/setup.sh
scripts/check-layers.sh || { echo "test.sh: a folder includes one above it" >&2; exit 1; }
# One line per file that clang-format (the repo's .clang-format) would change.
unformatted=$(git ls-files -z '*.cpp' '*.h' | xargs -0 -n 1 sh -c 'clang-format --dry-run -Werror "$0" 2>/dev/null || echo "$0"')
[ -z "$unformatted" ] || { printf 'test.sh: not formatted, run clang-format -i: %s\n' $unformatted >&2; exit 1; }
for preset in "$@"; do
    echo "== $preset build" >&2
    if [ "$preset" = windows ]; then
        # The desktop tests paint and check the screen with the Linux build's tools.
        scripts/build.sh default
        scripts/package.sh windows
        ctest --test-dir build/windows --output-on-failure --timeout 600 -j2
        continue
    fi
    scripts/build.sh "$preset"
    ctest --preset "$preset" -j2
done
