#!/usr/bin/env bash
# Frames on the display's beat, the game before and after it presented at
# the display's refreshes, in one run, each under its own Xvfb whose Present
# extension fakes the refreshes (-fakescreenfps), seen from another client
# (tools/present_watch):
# - in play, for SECONDS each at 60, 120 and 144 Hz: how many refreshes each
#   new frame stays on the screen, and the frames never shown;
# - key to picture at 60 Hz, scroll and stars off: Left or Right pressed
#   through XTest, PRESSES times in each of three games, until the first
#   frame that shows the ship moved reaches the window;
# - at the title at scale 3 (60 Hz, the tune playing into the emulated
#   card), 10 s: wakeups a second of all the game's threads (voluntary and
#   forced context switches) and the CPU of the game and of the X server.
# The load average is printed beside every figure: on a busy machine the
# X server's fake refreshes come late, and so do the game's frames.
# Usage: present_cadence.sh BUILD_DIR [BEFORE_BINARY] [SECONDS] [PRESSES]
# Without BEFORE_BINARY the game as it was before (the parent of the commit
# that brought platform/x11/x11_present.cpp) is built into
# BUILD_DIR/present-before (a git worktree; the game alone).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tools/xvfb_lib.sh"
source "$here/before_build.sh"
build_folder "$1" present_cadence
BEFORE=${2:-} SECONDS_EACH=${3:-15} PRESSES=${4:-10}
WATCH=$BUILD/present_watch AFTER=$BINARY

# before_binary: the game built from the commit before this change.
before_binary() {
  local first
  first=$(git -C "$here/.." log --diff-filter=A --format=%H -- platform/x11/x11_present.cpp | tail -n 1)
  [ -n "$first" ] || fail "no commit brought platform/x11/x11_present.cpp"
  before_build "$BUILD/present-before" "$first"
}
[ -n "$BEFORE" ] || BEFORE=$(before_binary)

load() { cut -d' ' -f1 /proc/loadavg; }

# with_server HZ COMMAND...: the command with a fresh Xvfb at HZ and the
# datafiles; the game stopped and the server gone after it.
with_server() {
  REFRESH_HZ=$1 start_xvfb
  copy_data "$DATA"
  "${@:2}"
  [ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null
  wait "$GAME_PID" 2>/dev/null || true
  GAME_PID=
  kill "$XVFB_PID"
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}

declare -A CADENCE KEYS TITLE
# cadence NAME HZ: a game in play, watched.
cadence() {
  start_game "$2" "$WORK/data"
  wait_window
  start_play
  CADENCE[$1-$3]="$("$WATCH" cadence "$WINDOW" "$SECONDS_EACH") load $(load)"
  echo "$1 at $3 Hz: ${CADENCE[$1-$3]}" >&2
}

# keys NAME BINARY GAME: one game of PRESSES presses.
keys() {
  rm -f "$WORK/feed"
  SWARMFIRE_PLAY_FEED=$WORK/feed start_game "$2" "$WORK/data"
  wait_window
  sleep 1
  options_off 1 3 # the scroll and the stars
  start_play
  KEYS[$1-$3]="$("$WATCH" keys "$WINDOW" "$WORK/feed" "$PRESSES") load $(load)"
  echo "$1 keys, game $3: ${KEYS[$1-$3]}" >&2
}

TICK=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# context_switches PID: of all its threads.
context_switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {s += $2} END {print s}'; }

# title NAME BINARY: the title's cost at scale 3.
title() {
  use_emulated_card "$BUILD/tools/libemulated_card.so" "title-$1"
  start_game "$2" "$WORK/data" --scale=3
  wait_window
  sleep 2
  local s0 g0 x0 t0 s1 g1 x1 t1
  s0=$(context_switches "$GAME_PID") g0=$(cpu_ticks "$GAME_PID") x0=$(cpu_ticks "$XVFB_PID") t0=$(date +%s.%N)
  sleep 10
  s1=$(context_switches "$GAME_PID") g1=$(cpu_ticks "$GAME_PID") x1=$(cpu_ticks "$XVFB_PID") t1=$(date +%s.%N)
  TITLE[$1]=$(awk -v s=$((s1 - s0)) -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v a="$t0" -v b="$t1" -v hz="$TICK" \
    -v l="$(load)" 'BEGIN { w = b - a; printf "wakeups %.0f game %.2f x %.2f load %s", s / w, 100 * g / hz / w, 100 * x / hz / w, l }')
  echo "$1 title: ${TITLE[$1]}" >&2
  use_file_sound
}

LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
use_file_sound
for name in before after; do
  binary=$AFTER
  [ "$name" = before ] && binary=$BEFORE
  for hz in 60 120 144; do with_server "$hz" cadence "$name" "$binary" "$hz"; done
  for game in 1 2 3; do with_server 60 keys "$name" "$binary" "$game"; done
  with_server 60 title "$name" "$binary"
done

# percent NAME-HZ FIELD: that share of the frames seen.
percent() {
  awk -v k="$2" '{for (i = 1; i < NF; i++) v[$i] = $(i + 1)} END {printf "%.1f%%", 100 * v[k] / (v["frames"] ? v["frames"] : 1)}' \
    <<<"${CADENCE[$1]}"
}

echo "Frames on the display's beat ($(nproc) cores, load $LOAD_BEFORE before, $(cut -d' ' -f1-3 /proc/loadavg) after)"
echo "before: $BEFORE"
echo "after:  $AFTER"
echo
echo "In play, ${SECONDS_EACH} s at each rate, seen from another client (present: the game's own presents; damage: its drawings):"
echo
echo "| game | display | method | frames | held 1 refresh | 2 | 3 | 4+ | never shown | load |"
echo "|---|---|---|---|---|---|---|---|---|---|"
for name in before after; do
  for hz in 60 120 144; do
    c=${CADENCE[$name-$hz]}
    echo "| $name | $hz Hz | $(field method "$c") | $(field frames "$c") | $(percent "$name-$hz" held1) |" \
      "$(percent "$name-$hz" held2) | $(percent "$name-$hz" held3) | $(percent "$name-$hz" held4) |" \
      "$(field lost "$c") | $(field load "$c") |"
  done
done
echo
echo "Key to picture at 60 Hz, ms ($PRESSES presses a game, scroll and stars off):"
echo
echo "| game | game 1: median (p10) | game 2 | game 3 | seen |"
echo "|---|---|---|---|---|"
for name in before after; do
  row="| $name |" seen=0
  for game in 1 2 3; do
    k=${KEYS[$name-$game]}
    row="$row $(field median "$k") ($(field p10 "$k")), load $(field load "$k") |"
    seen=$((seen + $(field seen "$k")))
  done
  echo "$row $seen of $((3 * PRESSES)) |"
done
echo
echo "At the title at scale 3, 10 s (CPU as a share of one core):"
echo
echo "| game | wakeups a second, all threads | game CPU | X server CPU | load |"
echo "|---|---|---|---|---|"
for name in before after; do
  t=${TITLE[$name]}
  echo "| $name | $(field wakeups "$t") | $(field game "$t") % | $(field x "$t") % | $(field load "$t") |"
done
