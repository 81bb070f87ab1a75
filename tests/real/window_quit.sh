#!/usr/bin/env bash
# The real game in a real window: it opens, shows a picture, and the title
# menu's quit item (Down, Down, Alt) ends it with status 0.
[ $# -ge 4 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/window_quit
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"

start_xvfb
use_file_sound
start_game "$BINARY" "$DATA"
wait_window
sleep 1
lit=$(nonblack title)
echo "title: $lit lit pixels"
[ "$lit" -gt 500 ] || fail "the title screen is (nearly) black"

tap Down
tap Down
tap Alt_L 0.3
wait_exit 20
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
echo "PASS: window opened, quit through the menu with status 0"
