#!/usr/bin/env bash
# The exe under wine on a 1920 x 1080 desktop, recording: its window opens
# at its scale, 960 x 720; a game started and steered both ways with real
# keys (the play feed follows the ship); paused, the window's pixels are the
# picture written at exit scaled by 3, and after F11 the whole screen at
# (0, 0) shows it scaled by 4; the close button ends the game with status
# 0 and the recording whole: it verifies on Linux and under wine with the
# same line, and its replay on Linux ends on the same picture. (Back from
# fullscreen is not tried: with no window manager, wine often leaves the
# borderless window without the keyboard.)
#   window.sh LINUX_BUILD WINDOWS_BUILD
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
source "$(dirname "$0")/../../tools/wine_lib.sh"
windows_folders "$@"

start_xvfb
copy_data "$DATA"
FEED=$WORK/feed
SWARMFIRE_PLAY_FEED=$(win_path "$FEED") SWARMFIRE_LAST_FRAME=$(win_path "$WORK/last.pcx") wine_game --record game.sfr
[ "${WIN_W}x$WIN_H" = 960x720 ] || fail "the window is ${WIN_W}x$WIN_H, not 960x720"
start_play
key() { xdotool "key$2" "$1"; }
steers -1 key Left || fail "Left did not steer the ship left"
steers 1 key Right || fail "Right did not steer the ship right"
tap p 0.1
xdotool mousemove 0 0 # wine's pointer, off the picture for its shots
# Past the caption's zoom and the repaint that follows the copies of what
# changed, once a second.
sleep 2
wait_until 5 paused paused || fail "P did not pause"

# In fullscreen (wine moves the window there in steps), the paused picture.
xdotool mousemove --window "$WINDOW" 20 20
tap F11
fullscreen() { window_on_show && [ "${WIN_W}x$WIN_H+$WIN_X+$WIN_Y" = 1920x1080+0+0 ] && same_picture; }
same_picture() { shoot_window fullscreen >/dev/null && cmp -s "$WORK/paused.png" "$WORK/fullscreen.png"; }
wait_until 20 fullscreen || fail "after F11: ${WIN_W}x$WIN_H+$WIN_X+$WIN_Y, not the paused picture on 1920x1080+0+0"
"$X_CLIENT" close "$WINDOW" || fail "could not press the close button"
game_ended 0
scaled() { # SHOT X Y SCALE: the shot holds the last picture scaled, at (X, Y)
  local out
  out=$("$XWD_PROBE" "$WORK/$1.xwd" "$2" "$3" $((320 * $4)) $((240 * $4)) --scaled-from "$WORK/last.pcx" --step "$4")
  [ "$(field mismatch "$out")" -eq 0 ] || fail "$1: $(field mismatch "$out") pixels unlike the last picture scaled by $4"
}
scaled paused 480 180 3
scaled fullscreen 320 60 4

cross_verify game.sfr
cmp "$WORK/last.pcx" "$WORK/verified.pcx" || fail "the replay on Linux ended on another picture"
echo "PASS: a 960 x 720 window of the picture scaled by 3, steered, fullscreen by F11, closed whole while recording"
