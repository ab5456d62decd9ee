#!/usr/bin/env bash
# Runs a Windows program of this project under Wine: the 32- or the 64-bit loader as the
# program's PE header says, the project's prefix for that size (build/wineprefix32 for a 32-bit
# program, build/wineprefix otherwise, unless WINEPREFIX names one), the locale in PYRO_LOCALE
# (Japanese by default: Wine's ANSI code page becomes 932; en_US.UTF-8 gives the 1252 of a
# Western Windows) and the display the test command started.
# Wine's own background processes inherit the output descriptors of the program that starts them
# and outlive it; the program's output therefore goes through a file, so that whoever reads our
# output (ctest) sees it end when the program ends.
root="$(cd "$(dirname "$0")/.." && pwd)"

# pe_machine <file>: the machine field of a PE file in hex (14c i386, 8664 x86-64), or nothing.
pe_machine() {
  local offset
  [ "$(head -c 2 "$1" 2>/dev/null)" = MZ ] || return 0
  offset="$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')"
  [ -n "$offset" ] && [ "$(od -An -c -j"$offset" -N4 "$1" | tr -d ' ')" = 'PE\0\0' ] || return 0
  od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}

loader=/usr/lib/wine/wine64
prefix="$root/build/wineprefix"
if [ "$(pe_machine "$1")" = 014c ]; then
  # Debian's wine32 puts the 32-bit loader here (its wine package's /usr/bin/wine chooses by
  # itself); a 64-bit Wine server serves both sizes.
  loader=/usr/lib/wine/wine
  [ -x "$loader" ] || loader=/usr/bin/wine
  [ -x "$loader" ] || { echo "wine-run: $1 is a 32-bit program and 32-bit Wine is not installed" >&2; exit 127; }
  prefix="$root/build/wineprefix32"
fi
export WINEPREFIX="${WINEPREFIX:-$prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG="${PYRO_LOCALE:-ja_JP.UTF-8}" LC_ALL="${PYRO_LOCALE:-ja_JP.UTF-8}"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
"$loader" "$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
exit $status
