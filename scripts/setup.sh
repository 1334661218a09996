#!/usr/bin/env bash
# scripts/setup.sh [LIST]
# Installs the Debian packages listed in LIST (default scripts/packages.txt)
# that are missing. Does nothing when all are present; without root it prints
# the command to run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "${1:-$here/packages.txt}")

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Two checkouts set up at once wait for each other rather than fail on apt's lock.
cmd="flock /var/lock/tintgrabber-setup.lock sh -c 'apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=600 ${missing[*]}'"
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        exec sudo sh -c "$cmd"
    fi
    echo "tintgrabber: missing packages; run as root:" >&2
    echo "  $cmd" >&2
    exit 1
fi
echo "tintgrabber: installing ${missing[*]}" >&2
sh -c "$cmd"
