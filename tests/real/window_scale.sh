#!/usr/bin/env bash
# The game on a 1920 x 1080 desktop: a 960 x 720 window whose pixels are the
# picture on show scaled by 3; F11 in play to fullscreen (1280 x 960 at
# (320, 60), black around) and back with the game going on and the pause
# working; another window taking the focus pauses the game (in fullscreen
# and in the window) and P resumes it; --scale 8 opens at 4, saying so;
# --fullscreen starts fullscreen, its title the same picture scaled by 4.
# Fullscreen is a window the size of the screen in the window manager's
# fullscreen state, and grabs nothing: another client can still grab the
# keyboard and the pointer. Then two monitors of 1920 x 1080 on one screen,
# side by side and stacked: the window and fullscreen keep to one of them,
# and a window given another size shows the whole picture. The picture on
# show is written at exit (SWARMFIRE_LAST_FRAME) and the window is closed
# with its close button.
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
build_folder "$@"

start_desktop
export SWARMFIRE_LAST_FRAME="$WORK/last.pcx"

# close_and_compare SHOT X Y SCALE: closes the game with its close button,
# then holds the shot's picture at (X, Y) against the picture the game wrote
# at exit, scaled.
close_and_compare() {
  close_window
  like_last_frame "$@"
}

# f11_to W H [X Y]: after F11 the window is W x H at (X, Y), (0, 0) unless
# given (a window is centred on its monitor). (Where the picture lies in
# it, and at which scale, follows; the pictures shot there are held
# against the game's.)
f11_to() { tap F11 && at_place 5 "$1" "$2" "${3:-0}" "${4:-0}"; }
# shows SHOT NAME: the picture on show, shot as NAME, is SHOT's, pixel for
# pixel at its own 320 x 240 size (their PNGs the same), within seconds.
shows() { wait_until 3 same_picture "$@" || fail "the picture changed: $1.png / $2.png"; }
same_picture() { shoot_window "$2" >/dev/null && cmp -s "$WORK/$1.png" "$WORK/$2.png"; }

# fullscreen_as_window: the window (the size of the screen) is in the
# fullscreen state, and the keyboard and the pointer are free for other clients.
fullscreen_as_window() {
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
  wait_until 5 paused "$1" || fail "$1: the game did not pause with the focus gone"
  give_focus_back
}

FEED=$WORK/feed
SWARMFIRE_PLAY_FEED=$FEED open_game
at_place 1 960 720 480 180
sleep 1
start_play tap space 0.1 # Space selects as Alt does: a game

tap p 0.1
wait_until 5 paused paused-window || fail "P did not pause"
f11_to 1920 1080
fullscreen_as_window
shows paused-window paused-fullscreen
around=$(field nonblack "$(shoot left-border 0 0 320 1080)")
[ "$around" -eq 0 ] || fail "$around lit pixels left of the fullscreen picture"
tap p 0.1            # play on in fullscreen
moving play-fullscreen 0 0 320 240 || fail "play did not go on in fullscreen"
take_focus focus-fullscreen
f11_to 960 720 480 180
xprop -id "$WINDOW" _NET_WM_STATE | grep -q FULLSCREEN && fail "the fullscreen state stays on the window"
shows focus-fullscreen window-again
tap p 0.1
moving play-window 0 0 320 240 || fail "play did not go on in the window"
take_focus focus-window
tap p 0.1
moving play-after-focus 0 0 320 240 || fail "P did not resume after the focus came back"
tap p 0.1
wait_until 5 paused paused-again || fail "P did not pause again"
close_and_compare paused-again "$PIC_X" "$PIC_Y" "$SCALE"

# A scale the monitor cannot hold: the largest it holds, and one line.
open_game --scale 8
at_place 1 1280 960 320 60
grep -qx 'swarmfire: --scale 8 is larger than the 1920 x 1080 monitor; the window is at scale 4' "$WORK/game.err" ||
  fail "no line for the lowered scale: $(cat "$WORK/game.err")"
close_window

open_game --fullscreen
at_place 1 1920 1080 0 0
fullscreen_as_window
wait_until 10 title_back fullscreen-title || fail "no title in fullscreen"
around=$(field nonblack "$(shoot border 0 0 1920 60)")
[ "$around" -eq 0 ] || fail "$around lit pixels above the fullscreen picture"
# The title stands still: back in the window, where the close button is,
# it is still the picture on show.
f11_to 960 720 480 180
close_and_compare fullscreen-title 320 60 4

# Two monitors of 1920 x 1080 on one screen. screen_of SIZE MONITOR...: a
# new X server of that size, its monitors NAME+X+Y (the first holds the
# server's one output; "*" before a name makes it the primary one).
screen_of() {
  SCREEN_SIZE=$1
  restart_xvfb
  local output=screen
  for monitor in "${@:2}"; do
    xrandr --setmonitor "${monitor%%+*}" "1920/508x1080/286+${monitor#*+}" "$output" >/dev/null
    output=none
  done
}
# black NAME X Y W H: nothing lit in that part of the screen.
black() {
  local lit
  lit=$(field nonblack "$(shoot "$@")")
  [ "$lit" -eq 0 ] || fail "$lit lit pixels in $1"
}

# Side by side, no primary: the game opens on the pointer's monitor, the
# right one; fullscreen covers that one alone, the picture centred there,
# and F11 comes back to the window on it, and goes fullscreen there again.
# Moved to the left monitor, the window goes fullscreen there.
screen_of 3840x1080 left+0+0 right+1920+0
xdotool mousemove 2880 540
open_game --fullscreen
at_place 1 1920 1080 1920 0
fullscreen_as_window
wait_until 10 title_back right-title || fail "no title in fullscreen on the right monitor"
black right-left 0 0 1920 1080
black right-around 1920 0 1920 60
f11_to 960 720 2400 180
shows right-title right-window
f11_to 1920 1080 1920 0
f11_to 960 720 2400 180
xdotool windowmove "$WINDOW" 100 100
find_window # the pointer follows it
f11_to 1920 1080 0 0
wait_until 10 title_back left-title || fail "no title in fullscreen on the left monitor"
black left-right 1920 0 1920 1080
f11_to 960 720 480 180
close_and_compare left-title 320 60 4

# Stacked, the lower monitor the primary one: the window opens there,
# within 85% of its height, wherever the pointer is, and so does
# fullscreen. A window manager giving the window another size has the
# picture fitted to it, never cut: smaller, at the scale that fits; larger,
# centred.
screen_of 1920x2160 '*lower+0+1080' upper+0+0
xdotool mousemove 960 300
open_game
at_place 1 960 720 480 1260
f11_to 1920 1080 0 1080
wait_until 10 title_back lower-title || fail "no title in fullscreen on the lower monitor"
black lower-upper 0 0 1920 1080
f11_to 960 720 480 1260
shows lower-title lower-window
xdotool windowsize "$WINDOW" 800 500
at_place 1 800 500 480 1260
shows lower-title smaller-window
xdotool windowsize "$WINDOW" 1200 800
at_place 1 1200 800 480 1260
shows lower-title larger-window
close_and_compare larger-window "$PIC_X" "$PIC_Y" 3
echo "PASS: scaled window, fullscreen without grabs both ways, focus pause and --fullscreen; on two monitors side by side and stacked"
