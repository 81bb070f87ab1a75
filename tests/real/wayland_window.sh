#!/usr/bin/env bash
# The game under a real Wayland compositor: Debian's weston, its headless
# output (1920 x 1080), the game an X client of its XWayland. The window
# opens at its scale, its pixels the picture on show scaled (xwd of the
# window); F11 fills the output and returns; the frames of play follow
# XWayland's Present, one refresh each (loosely: the benchmark holds the
# figures); a recording made there verifies.
source "$(dirname "$0")/xvfb_lib.sh"
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

# shoot NAME [x y w h] [probe options]: as under Xvfb, from xwd of the
# window (XWayland keeps no frame buffer file); x and y on the screen.
shoot() {
  xwd -silent -id "$WINDOW" -out "$WORK/$1.xwd" || return 1
  if [ $# -ge 5 ]; then
    "$XWD_PROBE" "$WORK/$1.xwd" $(($2 - WIN_X)) $(($3 - WIN_Y)) "${@:4}" --png "$WORK/$1.png"
  else
    "$XWD_PROBE" "$WORK/$1.xwd" "${@:2}" --png "$WORK/$1.png"
  fi
}

start_weston
NO_POINTER=1
use_file_sound
copy_data "$DATA"
export SWARMFIRE_LAST_FRAME=$WORK/last.pcx
REC=$WORK/game.sfr FEED=$WORK/feed

# window_at SCALE: the window is 320 x 240 times SCALE (the compositor places it).
window_at() { window_on_show && [ "${WIN_W}x$WIN_H" = "$((320 * $1))x$((240 * $1))" ]; }

SWARMFIRE_PLAY_FEED=$FEED open_game --record "$REC"
wait_until 10 window_at 3 || fail "the window is ${WIN_W}x$WIN_H, not 960x720"
sleep 1
xwd -silent -id "$WINDOW" -out "$WORK/title.xwd" || fail "xwd could not read the window"

# F11: the window fills the output, and comes back at its scale.
window_on_show_at() { window_on_show && [ "${WIN_W}x$WIN_H" = "${1}x$2" ]; }
tap F11
wait_until 10 window_on_show_at 1920 1080 || fail "F11: the window is ${WIN_W}x$WIN_H, not 1920x1080"
tap F11
wait_until 10 window_at 3 || fail "F11 again: the window is ${WIN_W}x$WIN_H, not 960x720"
window_on_show_at() { window_on_show && [ "${WIN_W}x$WIN_H" = "${1}x$2" ]; }

start_play
cadence=$("$BUILD/present_watch" cadence "$WINDOW" 5) || fail "no frames seen: $cadence"
echo "play under XWayland: $cadence"
read -r frames one <<<"$(awk '{print $4, $6}' <<<"$cadence")"
[[ $cadence == "method present"* ]] || fail "the frames do not go through Present: $cadence"
# Loosely: XWayland follows weston's repaints, which a loaded machine delays.
[ $((one * 100)) -ge $((frames * 50)) ] || fail "only $one of $frames frames held one refresh"
to_title_after_game_over
close_window

# The title as XWayland showed it, against the picture the game last showed
# (the title, still), scaled by 3.
out=$("$XWD_PROBE" "$WORK/title.xwd" 0 0 960 720 --scaled-from "$SWARMFIRE_LAST_FRAME" --step 3)
[ "$(field mismatch "$out")" -eq 0 ] || fail "$(field mismatch "$out") pixels of the window unlike the picture scaled by 3"
verifies "*" "the recording made under XWayland"
echo "PASS: under weston's XWayland: the window at scale 3, F11 both ways, one refresh a frame, $VERIFIED"
