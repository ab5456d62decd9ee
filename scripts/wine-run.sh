#!/usr/bin/env bash
# Runs a Windows program of this project under 64-bit Wine: the project's prefix, the locale in
# PYRO_LOCALE (Japanese by default: Wine's ANSI code page becomes 932; en_US.UTF-8 gives the 1252
# of a Western Windows) and the display the test command started.
# Wine's own background processes inherit the output descriptors of the program that starts them
# and outlive it; the program's output therefore goes through a file, so that whoever reads our
# output (ctest) sees it end when the program ends.
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG="${PYRO_LOCALE:-ja_JP.UTF-8}" LC_ALL="${PYRO_LOCALE:-ja_JP.UTF-8}"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
/usr/lib/wine/wine64 "$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
exit $status
