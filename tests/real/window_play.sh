#!/usr/bin/env bash
# The real game in a real window, played with real key events, its sound
# going into a card emulated on the monotonic clock: the window opens on a
# lit title whose tune is heard; the game asks for its own small periods
# and services them from its own background thread. The options screen
# opens darker, MUSIC is switched off there and Esc comes back. In a game
# the ship steers both ways, and a shot fired after silence is heard; Esc
# runs the game over and the final results back to the title, and the
# title's quit item ends the program with status 0. A ~/.allegrorc that sets
# the period size wins over the game's, and the game writes no file beside
# itself or in $HOME.
source "$(dirname "$0")/xvfb_lib.sh"
build_folder "$@"

# The binary alone in a folder of its own, and an empty home.
mkdir -p "$WORK/bin" "$WORK/home"
cp "$BINARY" "$WORK/bin/"
BINARY=$WORK/bin/swarmfire
export HOME=$WORK/home
# periods NAME: "SIZE x COUNT" as the card was asked for them.
periods() { awk '$1 == "params" {print $5 " x " $6}' "$WORK/$1.log"; }
# written: what the game left beside itself, in the folder it ran in or in HOME.
written() { (cd "$WORK" && find bin home data -mindepth 1 ! -name '*.dat' ! -name swarmfire ! -name .allegrorc); }

start_xvfb
use_emulated_card "$CARD" ours
FEED=$WORK/feed.txt
copy_data "$DATA"
SWARMFIRE_PLAY_FEED=$FEED open_game
sleep 1
lit=$(nonblack title)
[ "$lit" -gt 500 ] || fail "the title screen is (nearly) black"
wait_until 10 test -s "$WORK/ours.log" || fail "the game did not open the sound card"
[ "$(periods ours)" = "256 x 4" ] || fail "not the game's periods: $(cat "$WORK/ours.log")"
grep -qx background /proc/"$GAME_PID"/task/*/comm || fail "the game's background thread is not running"
size=$(stat -c %s "$WORK/ours.raw")
sleep 2
sound=$(pcm "$WORK/ours.raw" "$size")
echo "title tune over 2 s: $sound"
awk -v r="$(field rms "$sound")" -v p="$(field peak "$sound")" 'BEGIN { exit !(r > -45 && r < -3 && p <= 0) }' ||
  fail "the title tune is silent or out of range ($sound)"

music_off
start_play
key() { xdotool "key$2" "$1"; }
steers 1 key Right || fail "Right did not steer the ship right"
steers -1 key Left || fail "Left did not steer the ship left"
# quiet: whether the last quarter second the game played is silent.
quiet() {
  local size
  size=$(stat -c %s "$WORK/ours.raw")
  awk -v r="$(field rms "$(pcm "$WORK/ours.raw" $((size - 44100)) "$size")")" \
    'BEGIN { exit !(r + 0 < -60) }'
}
wait_until 10 quiet || fail "the music played on"
before=$(stat -c %s "$WORK/ours.raw")
fires tap Alt_L 0.1 || fail "Alt did not fire"
sleep 0.5
quiet=$(pcm "$WORK/ours.raw" $((before - 44100)) "$before")
shot=$(pcm "$WORK/ours.raw" "$before")
echo "the ship steers both ways; a quarter second before the shot: $quiet; after: $shot"
awk -v q="$(field rms "$quiet")" -v s="$(field rms "$shot")" 'BEGIN { exit !(q + 0 < -60 && s + 0 > -45) }' ||
  fail "the shot was not heard after silence"
to_title_after_game_over
quit_from_title
grep -q '^underrun' "$WORK/ours.log" && echo "note: the card underran $(grep -c '^underrun' "$WORK/ours.log") times"
[ -z "$(written)" ] || fail "files written beside the game, in its folder or in HOME: $(written)"

printf '[sound]\nalsa_fragsize = 1024\n' >"$HOME/.allegrorc"
use_emulated_card "$CARD" user
open_game
wait_until 10 test -s "$WORK/user.log" || fail "the game did not open the sound card"
[ "$(periods user)" = "1024 x 4" ] || fail "the player's period size did not win: $(cat "$WORK/user.log")"
close_window
[ -z "$(written)" ] || fail "files written beside the game, in its folder or in HOME: $(written)"
echo "PASS: title, tune, options, a game played, heard and ended, quit; the player's periods win"
