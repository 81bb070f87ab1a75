#!/usr/bin/env bash
# A game played with a gamepad, in a window the desktop knows. The pad is
# tests/tools/fake_pad.so (an Xbox-style /dev/input/js0 fed through a FIFO;
# removing the FIFO unplugs it). The game runs with --record and
# --no-focus-pause. The window's class, icon and pid are checked with
# xprop. A face button starts a game; the left stick steers left, the D-pad
# right, and a face button fires (which buttons and directions map to which
# keys is PadMapping's; here the ship's place and the
# shots fired in SWARMFIRE_PLAY_FEED); with the focus taken away the picture keeps
# moving and the pad still steers; Start pauses and resumes; unplugging
# pauses; the pad plugged in again is taken up and Start resumes; Back ends
# the game and face buttons lead through its end to the title. There the pad
# is unplugged and plugged in again, noticed within three seconds, and
# quits with the D-pad and a face button. The recording verifies "ok".
source "$(dirname "$0")/xvfb_lib.sh"
build_folder "$@"

start_xvfb
use_file_sound
copy_data "$DATA"
JS=$WORK/js0 LOG=$WORK/pad.log FEED=$WORK/feed.txt REC=$WORK/game.sfr

plug() {
  mkfifo "$JS"
  exec 7<>"$JS"
}
unplug() {
  exec 7>&-
  rm -f "$JS"
}
# event TYPE NUMBER VALUE: one struct js_event (time, value, type, number).
event() {
  local v=$(($3 & 0xffff))
  printf "\\x00\\x00\\x00\\x00\\x$(printf %02x $((v & 255)))\\x$(printf %02x $((v >> 8)))\\x0$1\\x$(printf %02x "$2")" >&7
}
# button N [seconds]: pressed, held, released. axis N VALUE [seconds] likewise;
# stick N VALUE down|up: held or let go.
button() {
  event 1 "$1" 1
  sleep "${2:-0.15}"
  event 1 "$1" 0
  sleep 0.15
}
axis() {
  event 2 "$1" "$2"
  sleep "${3:-0.4}"
  event 2 "$1" 0
  sleep 0.3
}
stick() { if [ "$3" = down ]; then event 2 "$1" "$2"; else event 2 "$1" 0; fi; }
opens() { grep -cx opened "$LOG" || true; }
opened() { [ "$(opens)" -eq "$1" ]; }

plug
SWARMFIRE_FAKE_PAD=$JS SWARMFIRE_FAKE_PAD_LOG=$LOG SWARMFIRE_PLAY_FEED=$FEED LD_PRELOAD=$FAKE_PAD \
  start_game "$BINARY" "$WORK/data" --record "$REC" --no-focus-pause
wait_window

props=$(xprop -id "$WINDOW" WM_CLASS _NET_WM_PID WM_CLIENT_MACHINE _NET_WM_ICON)
grep -qx 'WM_CLASS(STRING) = "swarmfire", "Swarmfire"' <<<"$props" || fail "class: $(grep WM_CLASS <<<"$props")"
grep -qx "_NET_WM_PID(CARDINAL) = $GAME_PID" <<<"$props" || fail "pid: $(grep PID <<<"$props")"
grep -q '^WM_CLIENT_MACHINE(STRING) = "..*"' <<<"$props" || fail "no WM_CLIENT_MACHINE beside the pid"
for size in 32 48 64; do
  grep -q "Icon ($size x $size)" <<<"$props" || fail "no ${size}x$size icon: $(head -c 300 <<<"$props")"
done
[ "$(opens)" -eq 1 ] || fail "the pad was not opened at start: $(cat "$LOG")"

sleep 1
button 0
wait_until 30 lit_above hud 0 0 30 24 10 || fail "a face button did not start a game"
sleep 3.5
steers -1 stick 0 -32767 || fail "the left stick did not steer left"
steers 1 stick 6 32767 || fail "the D-pad did not steer right"
fires button 2 0.1 || fail "a face button did not fire"

take_focus_away
sleep 1
moving unfocused 0 0 320 240 || fail "--no-focus-pause: the picture stopped with the focus gone"
steers 1 stick 0 32767 || fail "--no-focus-pause: the pad does not steer with the focus gone"
give_focus_back

button 7
paused start-paused || fail "Start did not pause"
button 7
wait_until 3 playing || fail "Start did not resume"

unplug
wait_until 3 paused unplugged || fail "unplugging the pad did not pause the game"
plug
wait_until 4 opened 2 || fail "the pad plugged in again was not taken up"
sleep 0.3
button 7
wait_until 3 playing || fail "Start on the pad plugged in again did not resume"

button 6
wait_until 10 lit_above game-over 40 100 240 40 50 || fail "Back did not end the game"
sleep 0.5
button 0
wait_until 20 dark faded || fail "a face button did not lead through the game-over sequence"
wait_until 20 lit_above rating 0 175 320 20 50 || fail "no final results"
button 0
wait_until 20 title_back title || fail "a face button did not leave the final results"

sleep 1
unplug
sleep 0.5
plug
plugged=$(now_ms)
wait_until 5 opened 3 || fail "the pad plugged in at the title was not taken up"
noticed=$(($(now_ms) - plugged))
[ "$noticed" -le 3000 ] || fail "the pad was noticed only after $noticed ms"
sleep 0.3
axis 7 32767 0.15
axis 7 32767 0.15
button 0
game_ended 0
no_crash_output

line=$(cd "$WORK/data" && "$BINARY" --verify "$REC") || fail "--verify: status $?: $line"
[[ $line == *": ok" ]] || fail "the game played with the pad does not verify"
echo "PASS: a game played with a gamepad and recorded; the window's class, icon and pid; --no-focus-pause"
