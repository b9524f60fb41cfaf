#!/bin/sh
# Runs the Windows test programs under Wine in a fresh, headless prefix that is
# removed afterwards.
# Usage: run-wine-tests.sh <wine64> <test folder> <Dirtool64.dll>
set -u
wine=$1
tests=$2
dll=$3
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

prefix=$(mktemp -d "${TMPDIR:-/tmp}/kivara-wine.XXXXXX") || exit 1
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts while the prefix is created.
export WINEDLLOVERRIDES="mscoree=;mshtml="
# The null display driver keeps every window off screen.
unset DISPLAY WAYLAND_DISPLAY

cleanup() {
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    rm -rf "$prefix"
}
trap cleanup EXIT
trap 'exit 130' INT TERM


started=$(date +%s)
run() {
    limit=$1
    shift
    timeout -k 5 "$limit" "$wine" "$@" </dev/null
}

run 90 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || {
    echo "could not create the Wine prefix"; exit 1; }
# The desktop process started with the prefix has no display; start it anew.
"$wineserver" -k 2>/dev/null
"$wineserver" -w 2>/dev/null
echo "prefix ready after $(( $(date +%s) - started )) s"

status=0
win_dll="Z:$(printf '%s' "$dll" | tr / '\\')"
run 120 "$tests/dirtool_test.exe" "$win_dll" || status=1
run 60 "$tests/win32platform_test.exe" || status=1
echo "wine tests took $(( $(date +%s) - started )) s"
exit $status
