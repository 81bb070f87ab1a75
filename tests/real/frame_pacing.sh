#!/usr/bin/env bash
# Frames of the real binary on a 1920 x 1080 desktop, as it reports them at
# exit (SWARMFIRE_FRAME_STATS): 60 +/- 1 frames in a typical second (the
# median of the whole seconds of the run, so that a moment of load on the
# machine does not count), and at least 99% of the frames of play carrying
# exactly one logic step. In the fitting window through the title and the
# attract cycle into the demo; at 320 x 240 and in fullscreen through the
# title into a game. Seen from another client (tools/present_watch):
# the frames of the demo go through Present, each held one refresh of the
# 60 Hz display that Xvfb fakes; at 120 Hz each held two, in a game; and
# on a 16-bit screen, where the game's pixels do not go through Present
# (Xvfb cannot leave Present out), the grid paces a game as before. Loosely
# (90%), so that a loaded machine does not fail it: the benchmark
# (bench/present_cadence.sh) holds the figures.
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
build_folder "$@"

start_desktop

# check NAME: the figures the game wrote, held to their limits.
check() {
  local stats=$WORK/$1.txt rate one all
  [ -s "$stats" ] || fail "$1: no frame figures were written"
  rate=$(awk '$1 == "frames_by_second" && NF > 10 {print $0}' "$stats" | tr ' ' '\n' | sed '1,2d;$d' | sort -n |
    awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}')
  read -r one all < <(awk '$1 == "steps_per_play_frame" {
      for (i = 2; i <= NF; i++) { split($i, kv, ":"); all += kv[2]; if (kv[1] == "1") one = kv[2] }
      print one + 0, all + 0 }' "$stats")
  echo "$1: $(tr '\n' ' ' <"$stats")"
  [ "${rate:-0}" -ge 59 ] && [ "$rate" -le 61 ] || fail "$1: ${rate:-no} frames in a typical second"
  [ "$all" -ge 500 ] || fail "$1: only $all frames of play"
  [ $((one * 100)) -ge $((all * 99)) ] || fail "$1: $one of $all frames of play carried one step"
}

# held REFRESHES METHOD: for 5 s, at least 90% of the frames seen held
# that many refreshes (any number with REFRESHES 0: off the beat, the grid
# may fall in phase with the refreshes), seen by that method (present or
# damage).
held() {
  local seen frames held
  seen=$("$BUILD/present_watch" cadence "$WINDOW" 5) || fail "no frames seen: $seen"
  echo "held: $seen"
  [[ $seen == "method $2 "* ]] || fail "frames not seen through $2: $seen"
  [ "$1" -eq 0 ] && return 0
  frames=$(field frames "$seen") held=$(field "held$1" "$seen")
  [ $((held * 100)) -ge $((frames * 90)) ] || fail "$held of $frames frames held $1 refreshes"
}

# The attract cycle: 1000 title frames, the bonus screen (cut short by a
# key), 600 more title frames, the demo.
not_title() { [ "$(field differ "$(shoot_window now --diff "$WORK/title.xwd")")" -gt 2000 ]; }
on_title() { ! not_title; }
SWARMFIRE_FRAME_STATS=$WORK/window.txt open_game
sleep 1
shoot_window title >/dev/null
wait_until 40 not_title || fail "the bonus screen did not come"
# A key ends the bonus screen once it has cleared its key buffer.
bonus_gone() { tap space && wait_until 3 on_title; }
wait_until 30 bonus_gone || fail "the title did not come back after the bonus screen"
wait_until 30 not_title || fail "the demo did not start"
sleep 4
held 1 present
sleep 3
close_window
check window

for mode in --scale=1 --fullscreen; do
  name=${mode#--}
  SWARMFIRE_FRAME_STATS=$WORK/$name.txt open_game "$mode"
  sleep 10
  start_play tap space 0.1
  sleep 8.5
  close_window
  check "$name"
done

REFRESH_HZ=120 restart_xvfb
SWARMFIRE_FRAME_STATS=$WORK/at-120.txt open_game
start_play
held 2 present
sleep 5
close_window
check at-120

SCREEN_DEPTH=16 restart_xvfb
SWARMFIRE_FRAME_STATS=$WORK/no-present.txt open_game
tap Alt_L 0.1 # (the probe reads 32-bit screens only: past the caption by time)
sleep 6
held 0 damage
sleep 5
close_window
check no-present
echo "PASS: 60 frames a second, one step a frame of play; one refresh each at 60 Hz, two at 120 Hz"
