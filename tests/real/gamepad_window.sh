#!/usr/bin/env bash
# A game played with a gamepad, in a window the desktop knows. The pad is
# tests/tools/fake_pad.so (an Xbox-style /dev/input/js0 fed through a FIFO;
# removing the FIFO unplugs it). The game runs with --record and
# --no-focus-pause. The window's class, icon and pid are checked with
# xprop. A face button starts a game; the left stick and the D-pad steer
# both ways and the four face buttons fire (the ship's velocity and the
# shots fired in SWARMFIRE_PLAY_FEED); with the focus taken away the picture keeps
# moving and the pad still steers; Start pauses and resumes; unplugging
# pauses; the pad plugged in again is taken up and Start resumes; Back ends
# the game and face buttons lead through its end to the title. There the pad
# is unplugged and plugged in again, noticed within three seconds, and
# quits with the D-pad and a face button. The recording verifies "ok".
[ $# -ge 5 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR FAKE_PAD" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/gamepad_window FAKE_PAD=$5
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"
source "$(dirname "$0")/fault_lib.sh"

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
# button N [seconds]: pressed, held, released. axis N VALUE [seconds] likewise.
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
opens() { grep -c "^open /dev/input/js0 .*: fd" "$LOG" || true; }
opened() { [ "$(opens)" -eq "$1" ]; }
lines() { wc -l <"$FEED"; }
# steered SIGN AXIS VALUE: holding the axis makes the ship's velocity that sign.
steered() {
  local since
  since=$(lines)
  axis "$2" "$3"
  awk -v n="$since" -v s="$1" 'NR > n && $6 * s > 0 { found = 1 } END { exit !found }' "$FEED"
}
paused() {
  local n
  n=$(lines)
  sleep 0.5
  [ "$(lines)" -eq "$n" ] && [ "$(field nonblack "$(shoot_area "$1" 250 228 70 12)")" -gt 20 ]
}
playing() {
  local n
  n=$(lines)
  sleep 0.3
  [ "$(lines)" -gt "$n" ]
}

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
echo "xprop: class swarmfire/Swarmfire, pid $GAME_PID, icons 32, 48 and 64"
[ "$(opens)" -eq 1 ] || fail "the pad was not opened at start: $(cat "$LOG")"

sleep 1
button 0
wait_until 30 lit_above hud 0 0 30 24 10 || fail "a face button did not start a game"
sleep 3.5
steered -1 0 -32767 || fail "the left stick did not steer left"
steered 1 6 32767 || fail "the D-pad did not steer right"
steered 1 0 32767 || fail "the left stick did not steer right"
steered -1 6 -32767 || fail "the D-pad did not steer left"
echo "the left stick and the D-pad steer both ways"
# fires BUTTON: a press asks for a volley (tried again while the ship,
# hit, is exploding and cannot fire).
fired() { tail -n1 "$FEED" | awk '{print $NF}'; }
fires() {
  local before
  for _ in 1 2 3 4; do
    before=$(fired)
    button "$1" 0.1
    [ "$(fired)" -gt "$before" ] && return 0
    sleep 1
  done
  return 1
}
for b in 0 1 2 3; do fires "$b" || fail "face button $b did not fire"; done
echo "the four face buttons fire: $(fired) shots fired"

xmessage -geometry +1200+800 "focus taken" 2>/dev/null &
other=$!
other_window=
for _ in $(seq 50); do
  other_window=$(xdotool search --name '^xmessage$' 2>/dev/null | head -n1 || true)
  [ -n "$other_window" ] && break
  sleep 0.1
done
[ -n "$other_window" ] || fail "no second window to take the focus"
xdotool windowfocus "$other_window"
sleep 1
moving unfocused 0 0 320 240 || fail "--no-focus-pause: the picture stopped with the focus gone"
steered 1 0 32767 || fail "--no-focus-pause: the pad does not steer with the focus gone"
kill "$other" 2>/dev/null || true
xdotool windowfocus "$WINDOW"
echo "--no-focus-pause: the focus taken away, the picture keeps moving and the pad steers"

button 7
paused start-paused || fail "Start did not pause"
button 7
wait_until 3 playing || fail "Start did not resume"
echo "Start pauses and resumes"

unplug
wait_until 3 paused unplugged || fail "unplugging the pad did not pause the game"
plug
wait_until 4 opened 2 || fail "the pad plugged in again was not taken up"
sleep 0.3
button 7
wait_until 3 playing || fail "Start on the pad plugged in again did not resume"
echo "unplugging pauses; plugged in again, the pad resumes"

button 6
sleep 1.5
button 0
wait_until 20 dark faded || fail "Back did not lead to the game-over sequence"
wait_until 20 lit_above rating 0 175 320 20 50 || fail "no final results"
button 0
wait_until 20 title_back title || fail "a face button did not leave the final results"
echo "Back ends the game; face buttons lead back to the title"

sleep 1
unplug
sleep 0.5
plug
plugged=$(now_ms)
wait_until 5 opened 3 || fail "the pad plugged in at the title was not taken up"
noticed=$(($(now_ms) - plugged))
echo "plugged in at the title: taken up after $noticed ms"
[ "$noticed" -le 3000 ] || fail "the pad was noticed only after $noticed ms"
sleep 0.3
axis 7 32767 0.15
axis 7 32767 0.15
button 0
wait_exit 20
[ "$EXIT_STATUS" -eq 0 ] || fail "quitting with the D-pad: status $EXIT_STATUS: $(cat "$WORK/game.err")"
no_crash_output

echo "what the library's driver asked of the device:"
sed -E 's/: fd [0-9]+/: fd N/; s/^(read|stat) .*/\1 .../' "$LOG" | sort | uniq -c | sed 's/^/  /'

line=$(cd "$WORK/data" && "$BINARY" --verify "$REC") || fail "--verify: status $?: $line"
echo "$line"
[[ $line == *": ok" ]] || fail "the game played with the pad does not verify"
echo "PASS: a game played with a gamepad and recorded; the window's class, icon and pid; --no-focus-pause"
