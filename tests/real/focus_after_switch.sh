#!/usr/bin/env bash
# The keyboard focus right after F11. A window manager that keeps it on a
# window of its own once the game's window is mapped again (a stand-in:
# x_client refocus, saying it is the manager) has it asked back: the game
# holds the focus and plays on, both ways. Another client's window taking
# it there keeps it, and the game pauses.
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
build_folder "$@"

start_desktop
FEED=$WORK/feed
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$WINDOW" ]; }
# refocus [manager]: the stand-in takes the focus at every mapping.
refocus() {
  "$X_CLIENT" refocus "$WINDOW" "$@" >"$WORK/refocus.out" 2>&1 &
  OTHER_PID=$!
  sleep 0.3
}
# switched_to W H: after F11, the window W x H, the focus taken from it.
switched_to() {
  local taken
  taken=$(grep -c taken "$WORK/refocus.out" || true)
  tap F11
  at_place 5 "$1" "$2"
  wait_until 3 taken_since "$taken" || fail "the focus was not taken at the mapping"
}
taken_since() { [ "$(grep -c taken "$WORK/refocus.out" || true)" -gt "$1" ]; }

SWARMFIRE_PLAY_FEED=$FEED open_game
start_play
xdotool windowfocus "$WINDOW"
refocus manager
for size in "1920 1080" "960 720"; do
  switched_to $size
  wait_until 3 focused || fail "the focus stayed with the manager's window ($size)"
  playing || fail "play paused with the focus kept by the manager ($size)"
done
kill "$OTHER_PID" && wait "$OTHER_PID" 2>/dev/null || true

refocus
switched_to 1920 1080
wait_until 5 paused taken-by-client || fail "the game did not pause with another client's window focused"
focused && fail "the game took the focus from another client's window"
kill "$OTHER_PID" && wait "$OTHER_PID" 2>/dev/null || true
xdotool windowfocus "$WINDOW"
close_window
echo "PASS: the focus asked back from the window manager after F11 both ways; another client's kept"
