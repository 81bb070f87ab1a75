#!/usr/bin/env bash
# A game in the real window with real key events: the ship steers both ways,
# fires, F12 writes dump.pcx, P freezes the picture and P again resumes, Esc
# runs the game over and the final results back to the title, and quit ends
# the program with status 0.
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=${4:-}/window_play
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"

start_xvfb
use_file_sound
copy_data "$DATA"
start_game "$BINARY" "$WORK/data"
wait_window
sleep 1
tap Alt_L            # start a game
sleep 4              # fade, "LEVEL 1" scroll, fade in

ship_x() { field cx "$(shoot_area "$1" 0 214 320 16 --bright 300)"; }
x0=$(ship_x ship-start)
xdotool keydown Right; sleep 1.2; xdotool keyup Right; sleep 0.5
x1=$(ship_x ship-right)
xdotool keydown Left; sleep 2.0; xdotool keyup Left; sleep 0.5
x2=$(ship_x ship-left)
echo "ship centre: start $x0, after Right $x1, after Left $x2"
[ "$x0" -gt 120 ] && [ "$x0" -lt 210 ] || fail "the ship does not start near the middle ($x0)"
[ "$x1" -gt 240 ] || fail "Right did not move the ship right ($x0 -> $x1)"
[ "$x2" -lt 80 ] || fail "Left did not move the ship left ($x1 -> $x2)"

tap Alt_L            # fire
tap F12
sleep 0.3
pcx="$WORK/data/dump.pcx"
[ -s "$pcx" ] || fail "F12 wrote no dump.pcx"
header=$(od -An -tu1 -N72 "$pcx" | tr -s ' \n' ' ')
read -r -a h <<<"$header"
# manufacturer 10, 8 bits per pixel, window 0..319 x 0..239, one plane
[ "${h[0]}" -eq 10 ] && [ "${h[3]}" -eq 8 ] || fail "dump.pcx is not an 8-bit PCX: $header"
[ $((h[8] + 256 * h[9])) -eq 319 ] && [ $((h[10] + 256 * h[11])) -eq 239 ] ||
  fail "dump.pcx is not 320x240: $header"
[ "${h[65]}" -eq 1 ] || fail "dump.pcx has ${h[65]} planes"
echo "dump.pcx: 320x240, 8 bits, one plane"

tap P 0.1
sleep 1
shoot_window paused-1 >/dev/null
sleep 0.6
frozen=$(field differ "$(shoot_window paused-2 --diff "$WORK/paused-1.xwd")")
caption=$(field nonblack "$(shoot_area pause-caption 250 228 70 12)")
echo "paused: $frozen pixels changed in 0.6 s, caption area lit $caption"
[ "$frozen" -eq 0 ] || fail "the picture moves while paused"
[ "$caption" -gt 20 ] || fail "no PAUSE caption at the bottom right"

tap P 0.1
sleep 1
shoot_window playing-1 >/dev/null
sleep 0.4
moving=$(field differ "$(shoot_window playing-2 --diff "$WORK/playing-1.xwd")")
echo "resumed: $moving pixels changed in 0.4 s"
[ "$moving" -gt 0 ] || fail "play did not resume after the second P"

tap Escape           # end the game: game over
sleep 1.5
over=$(field bright "$(shoot_area game-over 40 100 240 40 --bright 300)")
echo "game over caption: $over bright pixels"
[ "$over" -gt 50 ] || fail "no game-over caption"
tap space            # spin away, then the final results
sleep 4
lit=$(nonblack final-results)
echo "final results: $lit lit pixels"
[ "$lit" -gt 500 ] || fail "the final results screen is (nearly) black"
tap space            # zoom away, back to the title
sleep 2.5
tap Down
tap Down
tap Alt_L 0.3
wait_exit 20
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
echo "PASS: played, paused, resumed, ended the game and quit with status 0"
