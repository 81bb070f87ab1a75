#!/usr/bin/env bash
# A game in the real window with real key events: scrolling and stars are
# switched off on the options screen, so that the ship is the only thing that
# moves along the bottom; then the ship steers both ways,
# fires, F12 writes dump.pcx, P freezes the picture and P again resumes, Esc
# runs the game over and the final results back to the title, and quit ends
# the program with status 0.
[ $# -ge 4 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/window_play
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"

start_xvfb
use_file_sound
copy_data "$DATA"
start_game "$BINARY" "$WORK/data"
wait_window
sleep 1
tap Down
tap Alt_L 0.1        # options
sleep 1.5
tap Down
tap Alt_L 0.1        # scrolling off
tap Down
tap Down
tap Alt_L 0.1        # stars off
tap Escape
sleep 1.5
tap Up
tap Alt_L 0.1        # start a game
# Play starts once the "LEVEL 1" caption has crossed the first frame: the
# score and lives appear top left, the caption comes and goes.
caption_gone() { ! lit_above caption 0 190 320 16 30; }
wait_until 30 lit_above hud 0 0 30 24 10 || fail "the level did not start"
wait_until 10 lit_above caption 0 190 320 16 30 || fail "no LEVEL caption"
wait_until 10 caption_gone || fail "the LEVEL caption did not pass"
sleep 0.3

# With the background still, what changes along the ship's band between two
# shots is the ship leaving one place and arriving at another: the mean
# column of the change lies between the two, so it tells the direction.
moved_to() {
  field dcx "$(shoot_area "$1" 0 214 320 16 --diff "$WORK/$2.xwd")"
}
# The ship starts in the middle and cannot be hit while it reappears, for
# the first second and a half: steer right, then further left.
shoot_area ship-start 0 214 320 16 >/dev/null
xdotool keydown Right; sleep 0.6; xdotool keyup Right; sleep 0.1
right=$(moved_to ship-right ship-start)
xdotool keydown Left; sleep 1.4; xdotool keyup Left; sleep 0.1
left=$(moved_to ship-left ship-right)
echo "ship band change centred at $right after Right, at $left after Left (start 168)"
[ "$right" -gt 180 ] || fail "Right did not steer the ship right"
[ "$left" -ge 0 ] && [ "$left" -lt $((right - 20)) ] || fail "Left did not steer the ship left"

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
tap space            # spin away, fade, then the final results
wait_until 20 dark faded || fail "the game-over sequence did not fade out"
# The rating line appears once the totals have slid in.
wait_until 20 lit_above rating 0 175 320 20 50 || fail "no rating on the final results"
lit=$(nonblack final-results)
echo "final results: $lit lit pixels"
[ "$lit" -gt 500 ] || fail "the final results screen is (nearly) black"
tap space            # zoom away, back to the title
wait_until 20 title_back title-again || fail "the title did not come back"
sleep 0.5
tap Down
tap Down
tap Alt_L 0.3
wait_exit 20
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
echo "PASS: played, paused, resumed, ended the game and quit with status 0"
