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
# pauses; the pad plugged in again is taken up and Start resumes; pulled out
# with its node left behind (reads failing with ENODEV) while it steers, it
# lets go and pauses, and comes back once it answers again; Back ends
# the game and face buttons lead through its end to the title. There the pad
# is unplugged and plugged in again, noticed within three seconds, and
# quits with the D-pad and a face button. The recording verifies "ok".
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
build_folder "$@"

start_desktop
JS=$WORK/js0 LOG=$WORK/pad.log FEED=$WORK/feed.txt REC=$WORK/game.sfr GONE=$WORK/pad-gone

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
# press TYPE N VALUE [seconds]: a button (type 1) or an axis (2) pressed,
# held, released; button N [seconds] likewise; stick N VALUE down|up: an
# axis held or let go.
press() {
  event "$1" "$2" "$3"
  sleep "${4:-0.15}"
  event "$1" "$2" 0
  sleep 0.15
}
button() { press 1 "$1" 1 "${2:-0.15}"; }
stick() { if [ "$3" = down ]; then event 2 "$1" "$2"; else event 2 "$1" 0; fi; }
opened() { [ "$(grep -cx opened "$LOG" 2>/dev/null)" = "$1" ]; }

plug
SWARMFIRE_FAKE_PAD=$JS SWARMFIRE_FAKE_PAD_LOG=$LOG SWARMFIRE_FAKE_PAD_GONE=$GONE SWARMFIRE_PLAY_FEED=$FEED \
  LD_PRELOAD=$FAKE_PAD open_game --record "$REC" --no-focus-pause

props=$(xprop -id "$WINDOW" WM_CLASS _NET_WM_PID WM_CLIENT_MACHINE _NET_WM_ICON)
for want in '^WM_CLASS(STRING) = "swarmfire", "Swarmfire"$' "^_NET_WM_PID(CARDINAL) = $GAME_PID$" \
  '^WM_CLIENT_MACHINE(STRING) = "..*"' 'Icon (32 x 32)' 'Icon (48 x 48)' 'Icon (64 x 64)'; do
  grep -q "$want" <<<"$props" || fail "xprop shows no $want: $(head -c 300 <<<"$props")"
done
opened 1 || fail "the pad was not opened at start: $(cat "$LOG")"

sleep 1
start_play button 0
steers -1 stick 0 -32767 || fail "the left stick did not steer left"
steers 1 stick 6 32767 || fail "the D-pad did not steer right"
fires button 2 0.1 || fail "a face button did not fire"

take_focus_away
sleep 1
moving unfocused 0 0 320 240 || fail "--no-focus-pause: the picture stopped with the focus gone"
steers 1 stick 0 32767 || fail "--no-focus-pause: the pad does not steer with the focus gone"
give_focus_back

button 7
wait_until 3 paused start-paused || fail "Start did not pause"
button 7
wait_until 3 playing || fail "Start did not resume"

unplug
wait_until 3 paused unplugged || fail "unplugging the pad did not pause the game"
plug
wait_until 4 opened 2 || fail "the pad plugged in again was not taken up"
sleep 0.3
button 7
wait_until 3 playing || fail "Start on the pad plugged in again did not resume"

# Steering towards the middle when its reads start failing: the keys let go,
# the game paused; resumed from the keyboard, the ship stays put.
toward=$(($(ship_x) > 145 ? -32767 : 32767))
stick 0 $toward down
sleep 0.3
touch "$GONE"
wait_until 3 paused pulled-out || fail "a pad whose reads fail with ENODEV did not pause the game"
tap p
wait_until 3 playing || fail "P did not resume after the pad was pulled out"
sleep 0.3
# Over a second the ship keeps its place, but for reappearing at the
# middle (160) should a shot have taken it meanwhile.
x=$(ship_x) seen=$(ship_x)
for _ in $(seq 10); do
  sleep 0.1
  now=$(ship_x) seen+=" $now"
  [ "$now" = "$x" ] || [ "$now" = 160 ] || fail "the ship still steers after its pad was pulled out (x: $seen)"
  x=$now
done
stick 0 $toward up
rm "$GONE"
wait_until 4 opened 3 || fail "the pad answering again was not taken up"

to_title_after_game_over "button 6" "button 0"
sleep 0.5
unplug
sleep 0.5
plug
wait_until 3 opened 4 || fail "the pad plugged in at the title was not taken up within 3 s"
sleep 0.3
press 2 7 32767
press 2 7 32767
button 0
game_ended 0
no_crash_output

verifies "$REC: *" "(the game played with the pad)"
echo "PASS: a game played with a gamepad and recorded; the window's class, icon and pid; --no-focus-pause"
