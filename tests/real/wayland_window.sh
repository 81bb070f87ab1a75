#!/usr/bin/env bash
# The game under a real Wayland compositor: Debian's weston, its headless
# output (1920 x 1080), the game an X client of its XWayland. The window
# opens at its scale, its pixels the picture on show scaled (xwd of the
# window); F11 fills the output and returns; the frames of play follow
# XWayland's Present, one refresh each (loosely: the benchmark holds the
# figures); a recording made there verifies.
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
source "$(dirname "$0")/../../tools/desktop_lib.sh"  # its shoot (xwd of the window) and loose_cadence
build_folder "$@"

# start_weston: weston on a runtime folder of its own, XWayland on the
# display it names; XVFB_PID is weston's, so that cleanup stops it.
start_weston() {
  mkdir -m 700 "$WORK/runtime"
  XDG_RUNTIME_DIR=$WORK/runtime weston --backend=headless-backend.so --xwayland --no-config \
    --socket=swarmfire-test --width=1920 --height=1080 --idle-time=0 --log="$WORK/weston.log" \
    >/dev/null 2>&1 &
  XVFB_PID=$!
  wait_until 15 grep -q "xserver listening on display" "$WORK/weston.log" 2>/dev/null ||
    fail "weston gave no X display: $(tail -n 5 "$WORK/weston.log")"
  export DISPLAY
  DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$WORK/weston.log" | tail -n 1)
}

start_weston
NO_POINTER=1
use_file_sound
copy_data "$DATA"
export SWARMFIRE_LAST_FRAME=$WORK/last.pcx
REC=$WORK/game.sfr FEED=$WORK/feed

SWARMFIRE_PLAY_FEED=$FEED open_game --record "$REC"
at_place 10 960 720 # wherever the compositor places it
sleep 1
xwd -silent -id "$WINDOW" -out "$WORK/title.xwd" || fail "xwd could not read the window"

# F11: the window fills the output, and comes back at its scale.
tap F11
at_place 10 1920 1080
tap F11
at_place 10 960 720

start_play
# Loosely: XWayland follows weston's repaints, which a loaded machine delays.
loose_cadence 5 XWayland
to_title_after_game_over
close_window

# The title as XWayland showed it, against the picture the game last showed
# (the title, still), scaled by 3.
like_last_frame title 0 0 3
verifies "*" "the recording made under XWayland"
echo "PASS: under weston's XWayland: the window at scale 3, F11 both ways, one refresh a frame, $VERIFIED"
