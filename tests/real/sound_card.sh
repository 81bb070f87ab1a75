#!/usr/bin/env bash
# The sound for real, into a card emulated on the monotonic clock: the game
# asks for its own small periods and services them from its own background
# thread; a shot fired in play (music off) is heard; a ~/.allegrorc that
# sets the period size wins over the game's; and the game writes no
# configuration file beside itself or in $HOME.
[ $# -ge 7 ] && [ -n "$4" ] || {
  echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR X_CLOSE CARD_LIBRARY PCM_PROBE" >&2
  exit 2
}
WORK=$4/sound_card DATA=$2 XWD_PROBE=$3 X_CLOSE=$5 CARD=$6 PCM_PROBE=$7
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"
source "$(dirname "$0")/fault_lib.sh"

# The binary alone in a folder of its own, and an empty home.
mkdir -p "$WORK/bin" "$WORK/home"
cp "$1" "$WORK/bin/"
BINARY=$WORK/bin/$(basename "$1")
export HOME=$WORK/home

# periods NAME: "SIZE x COUNT" as the card was asked for them.
periods() { awk '$1 == "params" {print $5 " x " $6}' "$WORK/$1.log"; }

# close_and_check: the close button, status 0, nothing written beside the
# game, in the folder it ran in or in HOME.
close_and_check() {
  "$X_CLOSE" "$WINDOW" || fail "could not press the close button"
  wait_exit 20
  [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
  local left
  left=$(cd "$WORK" && find bin home data -mindepth 1 ! -name '*.dat' ! -name "$(basename "$BINARY")" ! -name .allegrorc)
  [ -z "$left" ] || fail "files written beside the game, in its folder or in HOME: $left"
}

start_xvfb
use_emulated_card "$CARD" ours
start_in_window "$DATA"
wait_until 10 test -s "$WORK/ours.log" || fail "the game did not open the sound card"
echo "periods asked for: $(periods ours)"
[ "$(periods ours)" = "256 x 4" ] || fail "not the game's periods: $(cat "$WORK/ours.log")"
grep -qx background /proc/"$GAME_PID"/task/*/comm || fail "the game's background thread is not running"

# quiet: whether the last quarter second the game played is silent.
quiet() {
  local size
  size=$(stat -c %s "$WORK/ours.raw")
  awk -v r="$(field rms "$("$PCM_PROBE" "$WORK/ours.raw" $((size - 44100)) "$size")")" 'BEGIN { exit !(r + 0 < -60) }'
}

music_off
start_play
wait_until 10 quiet || fail "the music played on"
before=$(stat -c %s "$WORK/ours.raw")
tap Alt_L 0.1
sleep 0.5
after=$(stat -c %s "$WORK/ours.raw")
quiet=$("$PCM_PROBE" "$WORK/ours.raw" $((before - 44100)) "$before")
shot=$("$PCM_PROBE" "$WORK/ours.raw" "$before" "$after")
echo "a quarter second before the shot: $quiet; after: $shot"
awk -v q="$(field rms "$quiet")" -v s="$(field rms "$shot")" 'BEGIN { exit !(q + 0 < -60 && s + 0 > -45) }' ||
  fail "the shot was not heard after silence"
grep -q '^underrun' "$WORK/ours.log" && echo "note: the card underran $(grep -c '^underrun' "$WORK/ours.log") times"
close_and_check

printf '[sound]\nalsa_fragsize = 1024\n' >"$HOME/.allegrorc"
use_emulated_card "$CARD" user
start_in_window "$DATA"
wait_until 10 test -s "$WORK/user.log" || fail "the game did not open the sound card"
echo "periods asked for with ~/.allegrorc: $(periods user)"
[ "$(periods user)" = "1024 x 4" ] || fail "the player's period size did not win: $(cat "$WORK/user.log")"
close_and_check
echo "PASS: the game's periods and thread, a shot heard, the player's ~/.allegrorc wins, no file written"
