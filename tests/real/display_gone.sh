#!/usr/bin/env bash
# The X server dies under the running game - on the title, in play and while
# paused, killed outright or asked to stop: each time the game ends within
# two seconds with one line and status 1, not a signal, and leaves no core.
[ $# -ge 4 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/display_gone
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"
source "$(dirname "$0")/fault_lib.sh"
ulimit -c unlimited

# display_dies WHERE SIGNAL
display_dies() {
  local where=$1 signal=$2
  start_xvfb
  use_file_sound
  start_in_window "$DATA"
  case $where in
    play) start_play ;;
    pause) start_play; tap p 0.1; sleep 1 ;;
  esac
  alive || fail "($where) the game ended before the display went away"
  local start
  start=$(now_ms)
  kill "-$signal" "$XVFB_PID"
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
  wait_exit 2
  local took=$(($(now_ms) - start))
  echo "$where, X server sent $signal: ended after $took ms with status $EXIT_STATUS"
  [ "$EXIT_STATUS" -eq 1 ] || fail "($where) status $EXIT_STATUS: $(cat "$WORK/game.err")"
  grep -q '^swarmfire: lost the connection to the X display' "$WORK/game.err" ||
    fail "($where) no message: $(cat "$WORK/game.err")"
  no_crash_output "swarmfire: lost the connection to the X display"
  ! compgen -G "$WORK/data/core*" >/dev/null || fail "($where) a core file was left"
}

display_dies title KILL
display_dies play TERM
display_dies pause KILL
echo "PASS: the game ends cleanly whenever its display goes away"
