# Sourced by ./test and ./run: starts a private Xvfb when asked to and exports DISPLAY.
# pyro_start_xvfb sets PYRO_XVFB_PID; pyro_stop_xvfb ends it. pyro_private_display does both
# for the rest of the shell, with the project's Wine prefix.
pyro_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      PYRO_XVFB_PID=$!
      for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
      done
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "no free X display number" >&2
  return 1
}

pyro_stop_xvfb() {
  if [ -n "${PYRO_XVFB_PID:-}" ]; then
    kill "$PYRO_XVFB_PID" 2>/dev/null || true
    wait "$PYRO_XVFB_PID" 2>/dev/null || true
    PYRO_XVFB_PID=
  fi
}

# pyro_private_display <project root>: exports WINEPREFIX (the project's prefix) and starts a
# private Xvfb; when the shell exits, the Wine servers of the prefixes (the 64-bit programs' and the
# 32-bit programs') end first, then the display.
pyro_private_display() {
  export WINEPREFIX="$1/build/wineprefix"
  PYRO_WINEPREFIX32="$1/build/wineprefix32"
  trap pyro_end_private_display EXIT
  pyro_start_xvfb
}

pyro_end_private_display() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  # The 32-bit programs' prefix, when a run used it.
  if [ -d "${PYRO_WINEPREFIX32:-}" ]; then WINEPREFIX="$PYRO_WINEPREFIX32" /usr/lib/wine/wineserver -k 2>/dev/null || true; fi
  pyro_stop_xvfb
}
