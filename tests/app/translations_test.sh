#!/usr/bin/env bash
# translations_test.sh
# The translation sources hold every text the program marks for translation,
# and only those: lupdate run over the sources into copies of
# translations/*.ts changes nothing (no text new, none gone), and no entry is
# left unfinished.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
copies=$(mktemp -d)
trap 'rm -rf "$copies"' EXIT
"$root/scripts/update-translations.sh" --into "$copies" || { echo "FAIL lupdate"; exit 1; }
status=0
for ts in "$root"/translations/*.ts; do
    name=${ts##*/}
    if diff -u "$ts" "$copies/$name"; then
        echo "ok   $name holds every marked text and no other"
    else
        echo "FAIL $name: lupdate changes it (above); run scripts/update-translations.sh" && status=1
    fi
    unfinished=$(grep -c 'type="unfinished"' "$ts")
    [ "$unfinished" = 0 ] && echo "ok   $name: every text translated" ||
        { echo "FAIL $name: $unfinished texts unfinished" && status=1; }
done
exit "$status"
