#!/usr/bin/env bash
# Twenty starts, each on an X server of its own that has had no client
# before: every time the window opens and the close button ends the game
# with status 0. (A server whose only client has just left resets itself and
# refuses connections for a moment; the game's own check of the display
# must not be that client.)
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
build_folder "$@"
# The servers here reset as a bare one does: that is the case under test.
XVFB_RESET=1

# Whether the game has drawn on the screen, read from the server's frame
# buffer file: no client of the test may come and go before the game's own
# connection, or its leaving would reset the server under the starting game.
# The window is centred on the 1920 x 1080 screen.
drawn() {
  alive || fail "(start $run) the game ended: $(grep -v '^ALSA' "$WORK/game.err")"
  [ "$(field nonblack "$(shoot screen 480 180 960 720)")" -gt 500 ]
}

for run in $(seq 20); do
  start_xvfb
  start_game "$BINARY" "$DATA"
  wait_until 30 drawn || fail "(start $run) nothing drawn"
  wait_window
  echo "start $run"
  close_window
  stop_xvfb
done
echo "PASS: 20 starts on fresh X servers, each window opened and closed with status 0"
