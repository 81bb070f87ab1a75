#!/usr/bin/env bash
# Twenty starts, each on an X server of its own that has had no client
# before: every time the window opens and the close button ends the game
# with status 0. (A server whose only client has just left resets itself and
# refuses connections for a moment; the game's own check of the display
# must not be that client.)
[ $# -ge 5 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR X_CLOSE" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/fresh_display X_CLOSE=$5
rm -rf "$WORK"
# The servers here reset as a bare one does: that is the case under test.
XVFB_RESET=1
source "$(dirname "$0")/xvfb_lib.sh"
source "$(dirname "$0")/fault_lib.sh"

for run in $(seq 20); do
  start_xvfb
  start_game "$BINARY" "$DATA"
  wait_window
  "$X_CLOSE" "$WINDOW" || fail "(start $run) could not press the close button"
  wait_exit 10
  [ "$EXIT_STATUS" -eq 0 ] || fail "(start $run) status $EXIT_STATUS: $(grep -v '^ALSA' "$WORK/game.err")"
  kill "$XVFB_PID"
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
done
echo "PASS: 20 starts on fresh X servers, each window opened and closed with status 0"
