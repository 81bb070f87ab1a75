#!/usr/bin/env bash
# Sixty seconds of random key events - presses and releases of game keys,
# letters, function keys and modifiers, several held at once - over the
# title, the options screen, and play with its pause (P is in the flood).
# Afterwards the game still runs, and the window's close button ends it
# with status 0. Each phase leaves out the keys by which a player would
# legitimately leave the program or the phase: the fire keys on the title
# (Alt, Space and Left Ctrl could choose quit), Esc on the options screen,
# Esc and Down in play (Down could bring the title's quit item up after a
# lost game). F11 stays in: the game switches between the window and
# fullscreen under the flood. Play begins with Ctrl+Alt+End, the library's
# abort.
[ $# -ge 5 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR X_CLOSE" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/key_flood X_CLOSE=$5
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"
source "$(dirname "$0")/fault_lib.sh"

KEYS=(Left Right Up Down Alt_L Alt_R Control_L Control_R Shift_L Shift_R Escape p P F1 F2 F3 F4
  F5 F6 F7 F8 F9 F10 F11 F12 space Return Tab BackSpace Delete Insert Home End Page_Up
  Page_Down KP_Enter KP_5 a b c d e f g h i j k l m n o q r s t u v w x y z 0 1 2 3 4 5 6 7 8 9
  minus equal comma period slash Menu Super_L)
RANDOM=1977  # the same flood every run
HELD=()

# flood SECONDS EXCLUDED...: random presses and releases, at most four keys
# held at a time, about 40 events a second, a batch of one second per call
# of xdotool; all keys are released at the end.
flood() {
  local seconds=$1
  shift
  local excluded=" $* " keys=() k
  for k in "${KEYS[@]}"; do [[ $excluded == *" $k "* ]] || keys+=("$k"); done
  local end=$((SECONDS + seconds))
  while [ "$SECONDS" -lt "$end" ]; do
    local batch=()
    for _ in $(seq 40); do
      if [ ${#HELD[@]} -gt 0 ] && { [ ${#HELD[@]} -ge 4 ] || [ $((RANDOM % 2)) -eq 0 ]; }; then
        local i=$((RANDOM % ${#HELD[@]}))
        batch+=(keyup "${HELD[$i]}")
        HELD=("${HELD[@]:0:$i}" "${HELD[@]:$((i + 1))}")
      else
        k=${keys[$((RANDOM % ${#keys[@]}))]}
        batch+=(keydown "$k")
        HELD+=("$k")
      fi
      batch+=(sleep "0.0$((RANDOM % 4 + 1))")
    done
    xdotool "${batch[@]}" 2>/dev/null
    alive || fail "the game ended during the flood: $(tail -n 3 "$WORK/game.err")"
  done
  for k in "${HELD[@]}"; do xdotool keyup "$k"; done
  HELD=()
  xdotool keyup Alt_L keyup Control_L keyup Escape keyup Down
}

start_xvfb
use_file_sound
start_in_window "$DATA"
# The title's bonus screen comes at its 1000th frame (16.7 s at 60 frames a
# second) and would take the next key: the title's flood stays well short.
flood 8 Alt_L Alt_R space Control_L
find_window
echo "title: 8 s of keys"
sleep 0.5
tap Up; tap Up; tap Down
tap Alt_L 0.1        # the options screen
sleep 1.5
flood 12 Escape
find_window
echo "options: 12 s of keys"
tap Escape
sleep 1.5
tap Up
start_play
xdotool keydown Control_L keydown Alt_L key End keyup Alt_L keyup Control_L
sleep 0.5
alive || fail "Ctrl+Alt+End ended the game"
flood 34 Escape Down
echo "play and pause: 34 s of keys"
sleep 1
alive || fail "the game ended after the flood"
find_window
if [ "$FULLSCREEN" -eq 1 ]; then
  tap F11
  find_window
fi
"$X_CLOSE" "$WINDOW" || fail "could not press the close button"
wait_exit 10
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after the close button: $(tail -n 3 "$WORK/game.err")"
no_crash_output
echo "PASS: 60 s of random keys, still running, and the close button ends it with status 0"
