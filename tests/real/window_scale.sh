#!/usr/bin/env bash
# The game on a 1920 x 1080 desktop: a 960 x 720 window whose pixels are the
# picture on show scaled by 3; F11 in play to fullscreen (1280 x 960 at
# (320, 60), black around) and back with the game going on and the pause
# working; another window taking the focus pauses the game (in fullscreen
# and in the window) and P resumes it; --scale 2 opens 640 x 480 and
# --fullscreen starts fullscreen, its title the same picture scaled by 4.
# Fullscreen is a window the size of the screen in the window manager's
# fullscreen state, and grabs nothing: another client can still grab the
# keyboard and the pointer. The picture on show is written at exit
# (SWARMFIRE_LAST_FRAME) and the window is closed with its close button.
[ $# -ge 6 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR X_CLOSE X_GRABS" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/window_scale X_CLOSE=$5 X_GRABS=$6
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"

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
  "$X_CLOSE" "$WINDOW" || fail "could not press the close button"
  wait_exit 10
  [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
  local out
  out=$("$XWD_PROBE" "$WORK/$1.xwd" "$2" "$3" $((320 * $4)) $((240 * $4)) \
    --scaled-from "$SWARMFIRE_LAST_FRAME" --step "$4")
  echo "$1 against the last picture scaled by $4: $(field mismatch "$out") pixels differ"
  [ "$(field mismatch "$out")" -eq 0 ] || fail "the picture is not the last one scaled by $4"
}

# geometry W H SCALE X Y: the window's size and the picture's place in it.
geometry() {
  echo "window ${WIN_W}x${WIN_H}, picture at ($PIC_X, $PIC_Y) scaled by $SCALE"
  [ "$WIN_W" -eq "$1" ] && [ "$WIN_H" -eq "$2" ] && [ "$SCALE" -eq "$3" ] &&
    [ "$PIC_X" -eq "$4" ] && [ "$PIC_Y" -eq "$5" ] || fail "expected ${1}x$2 with the picture at ($4, $5) x$3"
}

# fullscreen_as_window: the window covers the screen in the fullscreen
# state, and the keyboard and the pointer are free for other clients.
fullscreen_as_window() {
  [ "$FULLSCREEN" -eq 1 ] && [ "$WIN_X" -eq 0 ] && [ "$WIN_Y" -eq 0 ] || fail "the window does not cover the screen"
  local properties grabs
  properties=$(xprop -id "$WINDOW" _NET_WM_STATE _NET_WM_BYPASS_COMPOSITOR)
  echo "$properties"
  grep -qx '_NET_WM_STATE(ATOM) = _NET_WM_STATE_FULLSCREEN' <<<"$properties" || fail "no fullscreen state"
  grep -qx '_NET_WM_BYPASS_COMPOSITOR(CARDINAL) = 1' <<<"$properties" || fail "the compositor is not bypassed"
  grabs=$("$X_GRABS") || fail "another client cannot grab in fullscreen: $grabs"
  echo "another client's grabs in fullscreen: $grabs"
}

# take_focus NAME: another client takes the keyboard focus; the game pauses,
# its PAUSE caption on; the focus then comes back.
take_focus() {
  xmessage -geometry +1700+900 "focus taken" 2>/dev/null &
  local other=$! other_window= caption
  for _ in $(seq 50); do
    other_window=$(xdotool search --onlyvisible --name '^xmessage$' 2>/dev/null | head -n1 || true)
    [ -n "$other_window" ] && break
    sleep 0.1
  done
  [ -n "$other_window" ] || fail "no second window to take the focus"
  xdotool windowfocus "$other_window"
  sleep 1.2
  caption=$(field nonblack "$(shoot_area "$1" 250 228 70 12)")
  shoot_window "$1-all" >/dev/null
  sleep 0.5
  frozen "$1-all" || fail "$1: the game did not stop when the focus left"
  [ "$caption" -gt 20 ] || fail "$1: no PAUSE caption when the focus left"
  echo "$1: focus taken by another window: paused"
  kill "$other" 2>/dev/null || true
  wait "$other" 2>/dev/null || true
  xdotool windowfocus "$WINDOW"
}

frozen() { unchanged=$(field differ "$(shoot_window "$1-b" --diff "$WORK/$1.xwd")") && [ "$unchanged" -eq 0 ]; }

start_game "$BINARY" "$WORK/data"
wait_window
geometry 960 720 3 0 0
sleep 1
tap space 0.1        # Space selects as Alt does: a game
wait_until 30 lit_above hud 0 0 30 24 10 || fail "the level did not start"
sleep 3.5

tap p 0.1
sleep 1
window_paused=$(figures paused-window)
tap F11
sleep 1.5
find_window
geometry 1920 1080 4 320 60
fullscreen_as_window
around=$(field nonblack "$(shoot left-border 0 0 320 1080)")
[ "$around" -eq 0 ] || fail "$around lit pixels left of the fullscreen picture"
[ "$(figures paused-fullscreen)" = "$window_paused" ] ||
  fail "the picture changed with the switch: $window_paused / $(figures paused-fullscreen)"
tap p 0.1            # play on in fullscreen
moving play-fullscreen 0 0 320 240 || fail "play did not go on in fullscreen"
take_focus focus-fullscreen
fullscreen_paused=$(figures focus-fullscreen-all)
tap F11
sleep 1.5
find_window
geometry 960 720 3 0 0
xprop -id "$WINDOW" _NET_WM_STATE | grep -q FULLSCREEN && fail "the fullscreen state stays on the window"
sleep 0.5
window_again=$(figures window-again)
[ "$window_again" = "$fullscreen_paused" ] ||
  fail "the picture changed with the switch back: $fullscreen_paused / $window_again"
echo "F11 both ways: the paused picture (score and lives with it) kept, the pause working"
tap p 0.1
moving play-window 0 0 320 240 || fail "play did not go on in the window"
take_focus focus-window
tap p 0.1
moving play-after-focus 0 0 320 240 || fail "P did not resume after the focus came back"
tap p 0.1
sleep 1
shoot_window compare >/dev/null
close_and_compare compare "$PIC_X" "$PIC_Y" "$SCALE"

start_game "$BINARY" "$WORK/data" --scale 2
wait_window
geometry 640 480 2 0 0
"$X_CLOSE" "$WINDOW" || fail "could not press the close button"
wait_exit 10

start_game "$BINARY" "$WORK/data" --fullscreen
wait_window
geometry 1920 1080 4 320 60
fullscreen_as_window
sleep 1.5
around=$(field nonblack "$(shoot border 0 0 1920 60)")
[ "$around" -eq 0 ] || fail "$around lit pixels above the fullscreen picture"
shoot_window fullscreen-title >/dev/null
# The title stands still: back in the window, where the close button is,
# it is still the picture on show.
tap F11
sleep 1.5
find_window
geometry 960 720 3 0 0
close_and_compare fullscreen-title 320 60 4
echo "PASS: scaled window, fullscreen without grabs both ways, focus pause, --scale and --fullscreen"
