#!/usr/bin/env bash
# A recorded run cut short from outside ends as cleanly as the close button
# ends it. Ten times each, at the title and in play: the window destroyed
# by another program (xdotool windowclose, as xkill or a crashed window
# manager do) and SIGTERM (logout, shutdown); once each the connection
# killed (xdotool windowkill), SIGINT and SIGHUP, and the X server killed
# or asked to stop at the title, in play and while paused. Every time the
# game ends within five seconds with one line on stderr, status 1 (the
# window, the display) or 128 + the signal, no core, and its recording
# verifies "ok" with the frames and level the game reported at exit; and
# a recording paused by the viewer of --play ends by SIGTERM as well.
# Standard streams closed change nothing. Then what the recording file
# meets: --play of a missing file says so even without a display; a file
# size limit changes nothing and a closed pipe is reported, not fatal.
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
build_folder "$@"
ulimit -c unlimited

start_desktop
REC=$WORK/game.sfr FEED=$WORK/feed

# stop_run WHERE HOW STATUS REASON: records a run, stops it at the title,
# in play (a moment after the first step of play) or paused, by HOW, and
# checks the outcome.
stop_run() {
  local where=$1 how=$2 status=$3 reason=$4 level=0
  rm -f "$FEED"
  SWARMFIRE_FRAME_STATS=$WORK/stats SWARMFIRE_PLAY_FEED=$FEED open_game --record "$REC"
  if [ "$where" != title ]; then
    tap Alt_L 0.1
    wait_until 30 test -s "$FEED" || fail "($where, $how) play did not start"
    level=1
  fi
  if [ "$where" = pause ]; then
    tap p 0.1
    wait_until 5 paused pause || fail "($where, $how) P did not pause"
  fi
  sleep "0.$((RANDOM % 10))"
  case $how in
    window*) xdotool "$how" "$WINDOW" ;;
    server-*) stop_xvfb "${how#server-}" ;;
    *) kill "-$how" "$GAME_PID" ;;
  esac
  game_ended "$status" 5 "$where, $how"
  [ "$(grep -cxF "swarmfire: $reason; stopping" "$WORK/game.err")" -eq 1 ] ||
    fail "($where, $how) said: $(cat "$WORK/game.err")"
  no_crash_output "swarmfire: $reason; stopping"
  ! compgen -G "$WORK/data/core*" >/dev/null || fail "($where, $how) a core file was left"
  verifies "$REC: score *, level $level, $(stat_of frames "$WORK/stats") frames, *" "($where, $how)"
  [[ $level = 0 || $VERIFIED != *", 0 steps, "* ]] || fail "($where, $how) no play: $VERIFIED"
  [ -n "$XVFB_PID" ] || start_xvfb
}

for i in $(seq 10); do
  stop_run play windowclose 1 "the window was destroyed by another program"
  stop_run title windowclose 1 "the window was destroyed by another program"
  stop_run play TERM 143 "SIGTERM (Terminated) received"
  stop_run title TERM 143 "SIGTERM (Terminated) received"
done
stop_run play INT 130 "SIGINT (Interrupt) received"
stop_run title HUP 129 "SIGHUP (Hangup) received"
stop_run play windowkill 1 "lost the connection to the X display"
stop_run title server-KILL 1 "lost the connection to the X display"
stop_run play server-TERM 1 "lost the connection to the X display"
stop_run pause server-KILL 1 "lost the connection to the X display"
# A recording watched and paused with the viewer's Space: SIGTERM still
# ends it at once.
open_game --play "$REC"
sleep 1
tap space
sleep 0.5
kill -TERM "$GAME_PID"
game_ended 143 5 "watched, paused, TERM"

# Standard streams closed, as some launchers leave them (stderr alone, then
# all three): the game runs, SIGTERM ends it, and its recording verifies.
for closing in "2>&-" "<&- >&- 2>&-"; do
  rm -f "$REC"
  # shellcheck disable=SC2016
  (cd "$WORK/data" && eval 'exec "$BINARY" --record "$REC"' "$closing") &
  GAME_PID=$!
  wait_window
  kill -TERM "$GAME_PID"
  game_ended 143 5 "streams closed: $closing"
  verifies "$REC: score 0, level 0, *" "(streams closed: $closing)"
done

# refused WHAT TEXT ARGS...: the game stops at once with one line holding
# TEXT, status 1.
refused() { (cd "$WORK/data" && one_line "$1" 1 "$2" timeout 10 "${@:3}"); }
DISPLAY= refused "--play of a missing file without a display" \
  "missing.sfr: cannot be read: No such file or directory" "$BINARY" --play "$WORK/missing.sfr"
# Reading needs no room to write: a file size limit below sound.dat's size
# changes nothing. A pipe whose reader is gone is reported.
(ulimit -f 1000 && cd "$WORK/data" && one_line "--verify under ulimit -f 1000" 0 ": ok" "$BINARY" --verify "$REC")
exec 4> >(exit 0)
wait $!
refused "--verify into a closed pipe" "cannot write the result: Broken pipe" sh -c '"$0" --verify "$1" >&4' "$BINARY" "$REC"
exec 4>&-
echo "PASS: runs cut short end cleanly, recorded whole; --play and --verify report what they meet"
