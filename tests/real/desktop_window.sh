#!/usr/bin/env bash
# The game under a desktop's window manager, as players run it: DESKTOP is
# xfwm4 (with its compositor) or openbox (with picom), each on Xvfb with a
# 60 Hz vblank, or GNOME's mutter or KDE's KWin, headless, the game an X
# client of their XWayland (desktop_lib.sh). The window opens centred on
# the monitor at scale 3, its pixels the picture on show (xwd of the
# window); the frames of play go through Present, most one refresh each;
# F11 fills the monitor and comes back, ten times, the keyboard focus kept
# by the game; another window taking the focus pauses play and P resumes
# it; the game recorded there verifies.
USAGE="BUILD_DIR xfwm4|openbox|mutter|kwin"
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
source "$(dirname "$0")/../../tools/desktop_lib.sh"
build_folder "${1:-}" "desktop_${2:-}"
case ${2:-} in xfwm4 | openbox | mutter | kwin) ;; *) echo "usage: $0 $USAGE" >&2 && exit 2 ;; esac

# centred: the window is 960 x 720 and its centre lies on the monitor's,
# give or take its decorations (a title bar shifts it down).
centred() {
  placed 960 720 && [ $((WIN_X + 480 - 960)) -ge -16 ] && [ $((WIN_X + 480 - 960)) -le 16 ] &&
    [ $((WIN_Y + 360 - 540)) -ge -8 ] && [ $((WIN_Y + 360 - 540)) -le 40 ]
}

# focused: the game's window holds the keyboard focus.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$WINDOW" ]; }

start_desktop_of "$2"
use_file_sound
copy_data "$DATA"
export SWARMFIRE_LAST_FRAME=$WORK/last.pcx
REC=$WORK/game.sfr FEED=$WORK/feed
started=$SECONDS

SWARMFIRE_PLAY_FEED=$FEED open_game --record "$REC"
wait_until 5 centred || fail "the window at (${WIN_X:-}, ${WIN_Y:-}) ${WIN_W:-}x${WIN_H:-}, not 960x720 centred on 1920x1080"
echo "$DESKTOP: the window at ($WIN_X, $WIN_Y)"
start_play
loose_cadence 3 "$DESKTOP"

for switch in $(seq 10); do
  tap F11
  at_place 5 1920 1080 0 0
  tap F11
  wait_until 5 centred || fail "switch $switch: back at (${WIN_X:-}, ${WIN_Y:-}) ${WIN_W:-}x${WIN_H:-}, not centred"
  wait_until 2 focused || fail "switch $switch: the focus went to $(xdotool getwindowfocus getwindowname 2>&1)"
done
playing || fail "play stopped over the ten switches"

take_focus_away
wait_until 5 paused focus-gone || fail "the game did not pause with the focus gone"
kill "$OTHER_PID" && wait "$OTHER_PID" 2>/dev/null || true
xdotool windowactivate "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
wait_until 5 focused || fail "the focus did not come back"
paused focus-back || fail "play went on before P"
tap p 0.1
wait_until 3 playing || fail "P did not resume"
tap p 0.1
wait_until 5 paused paused-end || fail "P did not pause again"
close_window
like_last_frame paused-end 0 0 3
verifies "*" "the recording made under $DESKTOP"
echo "PASS: under $DESKTOP: centred, ten F11 both ways with the focus kept, focus pause, P, $VERIFIED ($((SECONDS - started)) s)"
