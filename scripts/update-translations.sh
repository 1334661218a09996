#!/usr/bin/env bash
# scripts/update-translations.sh [--into DIR] [LANG]...
# Brings the translation sources translations/tintgrabber_*.ts up to date with
# the program's texts, with lupdate over every source file outside tests/ and
# bench/: a new text is added unfinished, a text gone is dropped. A LANG
# (e.g. "fr") starts that language's file. With --into DIR, copies of the files
# in DIR are updated instead and translations/ is left as it is.
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
# Debian keeps Qt 6's tools off PATH, where a Qt 5 lupdate may be.
lupdate=/usr/lib/qt6/bin/lupdate
[ -x "$lupdate" ] || lupdate=lupdate
into=translations
if [ "${1:-}" = --into ]; then
    into=$2
    shift 2
    cp translations/tintgrabber_*.ts "$into/"
fi
ts=("$into"/tintgrabber_*.ts)
for lang in "$@"; do ts+=("$into/tintgrabber_$lang.ts"); done
mapfile -t sources < <(find . \( -path ./build -o -path ./tests -o -path ./bench -o -path './.*' \) \
    -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sort)
"$lupdate" -silent -locations none -no-obsolete -I . "${sources[@]}" -ts "${ts[@]}"
