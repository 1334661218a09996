#!/usr/bin/env bash
# scripts/windows/wine.sh PREFIX DLL_FOLDER --boot | --stop | PROGRAM [ARG]...
# Runs a Windows program under Wine in the prefix PREFIX, never ~/.wine, with
# DLL_FOLDER (Qt's) and the compiler's DLL folder on Wine's DLL path: CTest's
# emulator for the Windows build. --boot makes the prefix anew; --stop ends
# its wineserver and with it every Wine process of the prefix.
set -euo pipefail
export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=winemenubuilder.exe=d
dlls=$2
shift 2
command -v wine >/dev/null || {
    echo "wine.sh: Wine is not installed (scripts/setup.sh scripts/windows/packages.txt installs it)" >&2
    exit 1
}
case "$1" in
--boot)
    rm -rf "$WINEPREFIX"
    # This Wine has no 32-bit part; its "syswow64" complaint is harmless.
    wineboot -i >"$WINEPREFIX.log" 2>&1 && wineserver -w && [ -f "$WINEPREFIX/system.reg" ] || {
        echo "wine.sh: wineboot failed to make the prefix $WINEPREFIX (log: $WINEPREFIX.log)" >&2
        exit 1
    } ;;
--stop) wineserver -k 2>/dev/null || true ;;
*)
    compiler=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-libgcc-file-name)")
    runtime=/usr/x86_64-w64-mingw32/lib
    export WINEPATH="Z:${dlls//\//\\};Z:${compiler//\//\\};Z:${runtime//\//\\}"
    status=0
    wine "$@" || status=$?
    # Without a console QtTest writes to the debugger's channel; what it
    # wrote to its "-o FILE,txt" instead is shown here.
    for ((i = 1; i < $#; i++)); do
        j=$((i + 1))
        [ "${!i}" != -o ] || cat "${!j%,txt}"
    done
    exit $status ;;
esac
