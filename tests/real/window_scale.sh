#!/usr/bin/env bash
# The game on a 1920 x 1080 desktop: a 960 x 720 window whose pixels are the
# picture on show scaled by 3; F11 in play to fullscreen (1280 x 960 at
# (320, 60), black around) and back with the game going on and the pause
# working; another window taking the focus pauses the game (in fullscreen
# and in the window) and P resumes it; --fullscreen starts fullscreen, its title the same picture scaled by 4.
# Fullscreen is a window the size of the screen in the window manager's
# fullscreen state, and grabs nothing: another client can still grab the
# keyboard and the pointer. The picture on show is written at exit
# (SWARMFIRE_LAST_FRAME) and the window is closed with its close button.
source "$(dirname "$0")/xvfb_lib.sh"
build_folder "$@"

start_xvfb
use_file_sound
copy_data "$DATA"
export SWARMFIRE_LAST_FRAME="$WORK/last.pcx"

# figures NAME: the whole picture's figures, which do not depend on where
# or at which scale it is shown.
figures() { shoot_window "$1" | awk '{print $1, $2, $3, $4, $5, $6, $7, $8}'; }

# close_and_compare SHOT X Y SCALE: closes the game with its close button,
# then holds the shot's picture at (X, Y) against the picture the game wrote
# at exit, scaled.
close_and_compare() {
  close_window
  local out
  out=$("$XWD_PROBE" "$WORK/$1.xwd" "$2" "$3" $((320 * $4)) $((240 * $4)) \
    --scaled-from "$SWARMFIRE_LAST_FRAME" --step "$4")
  [ "$(field mismatch "$out")" -eq 0 ] || fail "$(field mismatch "$out") pixels unlike the last picture scaled by $4"
}

# geometry W H SCALE X Y: the window's size and the picture's place in it.
geometry() {
  [ "$WIN_W" -eq "$1" ] && [ "$WIN_H" -eq "$2" ] && [ "$SCALE" -eq "$3" ] &&
    [ "$PIC_X" -eq "$4" ] && [ "$PIC_Y" -eq "$5" ] || fail "window ${WIN_W}x$WIN_H, picture at ($PIC_X, $PIC_Y) x$SCALE, not ${1}x$2 at ($4, $5) x$3"
}

# f11_to W H SCALE X Y: F11 switches to a window of W x H, the picture at
# (X, Y) scaled by SCALE.
f11_to() {
  tap F11
  wait_until 5 sized "$1" "$2" || true
  geometry "$@"
}
sized() { window_on_show && [ "$WIN_W" -eq "$1" ] && [ "$WIN_H" -eq "$2" ]; }
# shows FIGURES NAME: the picture on show has these figures, within seconds.
shows() { wait_until 3 figures_are "$@" || fail "the picture changed: $1 / $(figures "$2")"; }
figures_are() { [ "$(figures "$2")" = "$1" ]; }

# fullscreen_as_window: the window covers the screen in the fullscreen
# state, and the keyboard and the pointer are free for other clients.
fullscreen_as_window() {
  [ "$FULLSCREEN" -eq 1 ] && [ "$WIN_X" -eq 0 ] && [ "$WIN_Y" -eq 0 ] || fail "the window does not cover the screen"
  local properties grabs
  properties=$(xprop -id "$WINDOW" _NET_WM_STATE _NET_WM_BYPASS_COMPOSITOR)
  grep -qx '_NET_WM_STATE(ATOM) = _NET_WM_STATE_FULLSCREEN' <<<"$properties" || fail "no fullscreen state"
  grep -qx '_NET_WM_BYPASS_COMPOSITOR(CARDINAL) = 1' <<<"$properties" || fail "the compositor is not bypassed"
  grabs=$("$X_CLIENT" grab) || fail "another client cannot grab in fullscreen: $grabs"
}

# take_focus NAME: another client takes the keyboard focus; the game pauses,
# its PAUSE caption on and the picture still; the focus then comes back.
take_focus() {
  take_focus_away
  wait_until 5 paused "$1" || fail "$1: the game did not pause when the focus left"
  shoot_window "$1-all" >/dev/null
  sleep 0.5
  [ "$(field differ "$(shoot_window "$1-b" --diff "$WORK/$1-all.xwd")")" -eq 0 ] ||
    fail "$1: the picture moves with the focus gone"
  give_focus_back
}

FEED=$WORK/feed
SWARMFIRE_PLAY_FEED=$FEED start_game "$BINARY" "$WORK/data"
wait_window
geometry 960 720 3 0 0
sleep 1
tap space 0.1        # Space selects as Alt does: a game
wait_until 30 lit_above hud 0 0 30 24 10 || fail "the level did not start"
sleep 3.5

tap p 0.1
wait_until 5 paused paused-caption || fail "P did not pause"
window_paused=$(figures paused-window)
f11_to 1920 1080 4 320 60
fullscreen_as_window
shows "$window_paused" paused-fullscreen
around=$(field nonblack "$(shoot left-border 0 0 320 1080)")
[ "$around" -eq 0 ] || fail "$around lit pixels left of the fullscreen picture"
tap p 0.1            # play on in fullscreen
moving play-fullscreen 0 0 320 240 || fail "play did not go on in fullscreen"
take_focus focus-fullscreen
fullscreen_paused=$(figures focus-fullscreen-all)
f11_to 960 720 3 0 0
xprop -id "$WINDOW" _NET_WM_STATE | grep -q FULLSCREEN && fail "the fullscreen state stays on the window"
shows "$fullscreen_paused" window-again
tap p 0.1
moving play-window 0 0 320 240 || fail "play did not go on in the window"
take_focus focus-window
tap p 0.1
moving play-after-focus 0 0 320 240 || fail "P did not resume after the focus came back"
tap p 0.1
wait_until 5 paused paused-again || fail "P did not pause again"
shoot_window compare >/dev/null
close_and_compare compare "$PIC_X" "$PIC_Y" "$SCALE"

start_game "$BINARY" "$WORK/data" --fullscreen
wait_window
geometry 1920 1080 4 320 60
fullscreen_as_window
wait_until 10 title_back fullscreen-title || fail "no title in fullscreen"
around=$(field nonblack "$(shoot border 0 0 1920 60)")
[ "$around" -eq 0 ] || fail "$around lit pixels above the fullscreen picture"
# The title stands still: back in the window, where the close button is,
# it is still the picture on show.
f11_to 960 720 3 0 0
close_and_compare fullscreen-title 320 60 4
echo "PASS: scaled window, fullscreen without grabs both ways, focus pause and --fullscreen"
