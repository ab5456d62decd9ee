#!/usr/bin/env bash
# The game opens its window with the Japanese caption and ends with exit code 0 when the user
# closes it (Alt+F4 reaches the window as a system close).
#   window-close.sh <wine-run wrapper> <PyroPlaza.exe>
set -u
wine_run=$1 exe=$2
"$wine_run" "$exe" &
pid=$!
id=
for _ in $(seq 150); do
  id=$(xdotool search --onlyvisible --name '^Pyro丸Plaza$' 2>/dev/null | head -1)
  [ -n "$id" ] && break
  sleep 0.1
done
if [ -z "$id" ]; then
  echo "no window captioned Pyro丸Plaza"
  kill $pid
  exit 1
fi
# The window is found as soon as it is mapped; give the program a moment to reach its loop,
# and repeat the close in case the first key arrived before the focus did.
sleep 0.5
for _ in $(seq 5); do
  xdotool windowfocus --sync "$id" 2>/dev/null
  sleep 0.2
  xdotool key alt+F4
  for _ in $(seq 20); do
    kill -0 $pid 2>/dev/null || break 2
    sleep 0.1
  done
done
if kill -0 $pid 2>/dev/null; then
  echo "the game did not end after Alt+F4"
  kill $pid
  exit 1
fi
wait $pid
status=$?
echo "exit code $status"
exit $status
