#!/usr/bin/env bash
# A recorded run cut short from outside ends as cleanly as the close button
# ends it. Ten times each, at the title and in play: the window destroyed
# by another program (xdotool windowclose, as xkill or a crashed window
# manager do) and SIGTERM (logout, shutdown); once each the connection
# killed (xdotool windowkill), SIGINT and SIGHUP. Every time the game ends
# within five seconds with one line on stderr, status 1 (the window) or
# 128 + the signal, no core, and its recording verifies "ok" with the
# frames and level the game reported at exit.
# Then what the recording file meets: an earlier recording stays as it was
# until the new one is whole; a datafile or a FIFO given to --record, and a
# FIFO given to --play or --verify, are refused at once with one line; a
# file size limit and a closed pipe are reported, not fatal; --play of a
# missing file says so even without a display.
[ $# -ge 4 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/stopped_runs
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"
source "$(dirname "$0")/fault_lib.sh"
ulimit -c unlimited

start_xvfb
use_file_sound
copy_data "$DATA"
REC=$WORK/game.sfr

stat_of() { awk -v k="$1" '$1 == k {print $2}' "$WORK/stats"; }

# stop_run WHERE HOW STATUS REASON: records a run, stops it at the title or
# in play (a moment after the first step of play) by HOW, and checks the
# outcome.
stop_run() {
  local where=$1 how=$2 status=$3 reason=$4 level=0 out
  rm -f "$WORK/feed"
  SWARMFIRE_FRAME_STATS=$WORK/stats SWARMFIRE_PLAY_FEED=$WORK/feed start_game "$BINARY" "$WORK/data" --record "$REC"
  wait_window
  if [ "$where" = play ]; then
    tap Alt_L 0.1
    wait_until 30 test -s "$WORK/feed" || fail "($where, $how) play did not start"
    level=1
  fi
  sleep "0.$((RANDOM % 10))"
  case $how in
    window*) xdotool "$how" "$WINDOW" ;;
    *) kill "-$how" "$GAME_PID" ;;
  esac
  wait_exit 5
  [ "$EXIT_STATUS" -eq "$status" ] || fail "($where, $how) status $EXIT_STATUS: $(cat "$WORK/game.err")"
  grep -qxF "swarmfire: $reason; stopping" "$WORK/game.err" || fail "($where, $how) said: $(cat "$WORK/game.err")"
  no_crash_output "swarmfire: $reason; stopping"
  ! compgen -G "$WORK/data/core*" >/dev/null || fail "($where, $how) a core file was left"
  out=$(cd "$WORK/data" && "$BINARY" --verify "$REC" 2>&1) || fail "($where, $how) --verify: $out"
  case $out in
    "$REC: score "*", level $level, $(stat_of frames) frames, 0 steps, "*": ok") [ $level = 0 ] || fail "no play: $out" ;;
    "$REC: score "*", level $level, $(stat_of frames) frames, "*": ok") ;;
    *) fail "($where, $how) --verify does not say ok with level $level and $(stat_of frames) frames: $out" ;;
  esac
  TOLD="$where, $how: status $EXIT_STATUS; $out"
}

for i in $(seq 10); do
  stop_run play windowclose 1 "the window was destroyed by another program"
  stop_run title windowclose 1 "the window was destroyed by another program"
  stop_run play TERM 143 "SIGTERM (Terminated) received"
  stop_run title TERM 143 "SIGTERM (Terminated) received"
  echo "round $i: $TOLD"
done
stop_run play windowkill 1 "lost the connection to the X display"
echo "$TOLD"
stop_run play INT 130 "SIGINT (Interrupt) received"
echo "$TOLD"
stop_run title HUP 129 "SIGHUP (Hangup) received"
echo "$TOLD"

# The recording of the last run stands in for a precious one.
cp "$REC" "$WORK/precious.sfr"
start_game "$BINARY" "$WORK/data" --record "$WORK/precious.sfr"
wait_window
cmp -s "$REC" "$WORK/precious.sfr" || fail "an earlier recording was touched before the new one was whole"
xdotool windowclose "$WINDOW"
wait_exit 5
cmp -s "$REC" "$WORK/precious.sfr" && fail "the earlier recording was not replaced at the end"
(cd "$WORK/data" && "$BINARY" --verify "$WORK/precious.sfr" >/dev/null) || fail "the new recording does not verify"
! compgen -G "$WORK/precious.sfr.*" >/dev/null || fail "a part file was left: $(ls "$WORK")"
echo "an earlier recording stays whole until the new one replaces it"

# refused WHAT EXPECTED ARGS...: one line naming the problem, status 1, at
# once, and no window. Standard output goes to $OUT.
refused() {
  local what=$1 expected=$2 status=0 err
  shift 2
  err=$(cd "$WORK/data" && timeout 10 "$BINARY" "$@" 2>&1 >"${OUT:-/dev/null}") || status=$?
  [ "$status" -eq 1 ] || fail "$what: status $status ($err)"
  [ "$(grep -vc '^ALSA lib ' <<<"$err")" -eq 1 ] && grep -qF -- "$expected" <<<"$err" ||
    fail "$what: '$err' does not say '$expected'"
  ! xdotool search --name '^Swarmfire$' >/dev/null 2>&1 || fail "$what: a window opened"
  echo "$what: $err"
}
refused "--record on a datafile" "level1.dat: exists and is not a Swarmfire recording" --record level1.dat
cmp -s "$DATA/level1.dat" "$WORK/data/level1.dat" || fail "--record changed level1.dat"
mkfifo "$WORK/fifo.sfr"
refused "--record on a FIFO" "fifo.sfr: is not a regular file" --record "$WORK/fifo.sfr"
refused "--verify of a FIFO" "fifo.sfr: cannot be read: not a regular file" --verify "$WORK/fifo.sfr"
refused "--play of a FIFO" "fifo.sfr: cannot be read: not a regular file" --play "$WORK/fifo.sfr"
DISPLAY= refused "--play of a missing file without a display" \
  "missing.sfr: cannot be read: No such file or directory" --play "$WORK/missing.sfr"
# A file size limit below the in-memory copy of sound.dat, and a pipe
# whose reader is gone.
(ulimit -f 1000 && refused "--verify under ulimit -f 1000" "sound.dat: cannot be loaded (File too large)" \
  --verify "$REC") || exit 1
exec 4> >(exit 0)
wait $!
OUT=/dev/fd/4 refused "--verify into a closed pipe" "cannot write the result: Broken pipe" --verify "$REC"
exec 4>&-
echo "PASS: runs cut short end cleanly, recorded whole; careless files are refused"
