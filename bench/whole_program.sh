#!/usr/bin/env bash
# Whole-program figures of the real binary in an Xvfb window of its own:
# the time from exec until the first title frame is on the screen (warm
# caches, the median of several starts), then 20 seconds each at the title,
# in the demo's play and paused in a game: the game's CPU time as a share of
# one core (the X server's beside it), and its resident memory.
# Usage: whole_program.sh BINARY DATA_DIR XWD_PROBE [WORK_DIR] [SECONDS]
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=${4:-$(mktemp -d)}/whole_program
SECONDS_EACH=${5:-20}
rm -rf "$WORK"
source "$(dirname "$0")/../tools/xvfb_lib.sh"

STARTS=6
# The demo loses its last ship after about 19 seconds of play (the same every
# run: one random sequence), so it is measured for at most 16.
DEMO_SECONDS=$((SECONDS_EACH < 16 ? SECONDS_EACH : 16))
TICK=$(getconf CLK_TCK)

# cpu_ticks PID: user plus system time so far, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# status_kb PID FIELD: a figure of /proc/PID/status, in kB.
status_kb() { awk -v f="$2:" '$1 == f {print $2}' "/proc/$1/status"; }

# launch: the game from its data folder, the clock read just before exec.
launch() {
  rm -f "$WORK/t0" "$WORK/game.err"
  (cd "$WORK/data" && date +%s.%N >"$WORK/t0" && SWARMFIRE_FIRST_FRAME_LOG=1 exec "$BINARY") \
    >"$WORK/game.out" 2>"$WORK/game.err" &
  GAME_PID=$!
}

# first_frame_ms: waits for the game's log line and prints exec-to-frame.
first_frame_ms() {
  for _ in $(seq 1000); do
    grep -q 'first frame presented' "$WORK/game.err" 2>/dev/null && break
    sleep 0.01
  done
  local at
  at=$(awk '/first frame presented/ {print $NF}' "$WORK/game.err")
  [ -n "$at" ] || fail "no first frame was logged: $(cat "$WORK/game.err")"
  awk -v a="$at" -v b="$(cat "$WORK/t0")" 'BEGIN { printf "%.0f", (a - b) * 1000 }'
}

# first_frame_cpu_ms: the processor time the game had spent by then.
first_frame_cpu_ms() { awk '/first frame presented/ {printf "%.0f", $(NF - 5)}' "$WORK/game.err"; }

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# measure NAME SECONDS: the game's and the X server's CPU over that time,
# and the game's resident memory at the end, as one table row.
ROWS=()
declare -A GAME_CPU
measure() {
  local g0 x0 t0 g1 x1 t1
  g0=$(cpu_ticks "$GAME_PID") x0=$(cpu_ticks "$XVFB_PID") t0=$(date +%s.%N)
  sleep "$2"
  g1=$(cpu_ticks "$GAME_PID") x1=$(cpu_ticks "$XVFB_PID") t1=$(date +%s.%N)
  GAME_CPU[$1]=$(awk -v g=$((g1 - g0)) -v a="$t0" -v b="$t1" -v hz="$TICK" \
    'BEGIN { printf "%.1f", 100 * g / hz / (b - a) }')
  ROWS+=("$(awk -v n="$1" -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v a="$t0" -v b="$t1" \
    -v hz="$TICK" -v rss="$(status_kb "$GAME_PID" VmRSS)" \
    -v s="$2" 'BEGIN { w = b - a; printf "| %-8s | %4d s | %5.1f %% | %5.1f %% | %6.1f MB |", n,
             s, 100 * g / hz / w, 100 * x / hz / w, rss / 1024 }')")
}

# The picture differs from the title's first picture by more than a little.
TITLE_SHOT=
not_title() {
  local n
  n=$(field differ "$(shoot_window now --diff "$WORK/$TITLE_SHOT.xwd")")
  [ "$n" -gt 2000 ]
}
on_title() { ! not_title; }
unchanged_since() {
  local n
  n=$(field differ "$(shoot_window "$1-end" --diff "$WORK/$1.xwd")")
  [ "$n" -eq 0 ]
}

start_xvfb
use_file_sound
copy_data "$DATA"

# Start-up: the first start fills the caches; the others are timed warm.
STARTUP=() STARTUP_CPU=()
for i in $(seq "$STARTS"); do
  launch
  ms=$(first_frame_ms)
  if [ "$i" -gt 1 ]; then
    STARTUP+=("$ms")
    STARTUP_CPU+=("$(first_frame_cpu_ms)")
  fi
  stop_game
done

# The title, untouched: a still picture until the bonus screen at frame 1000.
launch
first_frame_ms >/dev/null
wait_window
sleep 1
TITLE_SHOT=title
shoot_window title >/dev/null
measure title "$SECONDS_EACH"
unchanged_since title || echo "warning: the title changed while it was measured" >&2

# The attract cycle: the bonus screen (cut short), the title again, the demo.
wait_until 60 not_title || fail "the bonus screen did not come"
sleep 1.5  # past the fade, once the bonus screen has cleared the key buffer
tap space
wait_until 40 on_title || fail "the title did not come back after the bonus screen"
wait_until 60 not_title || fail "the demo did not start"
sleep 3  # the LEVEL 1 caption
shoot_window demo >/dev/null
measure demo "$DEMO_SECONDS"
not_title || echo "warning: the demo had ended before its measurement did" >&2
tap space
wait_until 20 on_title || fail "the title did not come back after the demo"

# A game, paused once its first level has begun.
sleep 1
tap Alt_L 0.1
wait_until 20 not_title || fail "the game did not start"
sleep 4
tap p 0.1
sleep 1
shoot_window paused >/dev/null
measure paused "$SECONDS_EACH"
unchanged_since paused || echo "warning: the picture moved while paused" >&2
peak=$(status_kb "$GAME_PID" VmHWM)
stop_game

echo "Whole program under Xvfb ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)); CPU as a share of one core:"
echo
echo "| phase    | window | game CPU | Xvfb CPU | resident  |"
echo "|----------|--------|----------|----------|-----------|"
printf '%s\n' "${ROWS[@]}"
echo
awk -v k="$peak" 'BEGIN { printf "Peak resident memory (VmHWM): %.1f MB\n", k / 1024 }'
echo "Exec to first title frame, warm: median $(median "${STARTUP[@]}") ms (starts: ${STARTUP[*]} ms)"
echo "CPU time of the game by its first frame: median $(median "${STARTUP_CPU[@]}") ms (${STARTUP_CPU[*]} ms)"
echo

# verdict WHAT VALUE LIMIT UNIT
verdict() {
  awk -v w="$1" -v v="$2" -v l="$3" -v u="$4" \
    'BEGIN { printf "%-36s %8.1f %-3s (limit %s %s)  %s\n", w, v, u, l, u, v <= l ? "met" : "NOT met" }'
}
verdict "CPU at the title" "${GAME_CPU[title]}" 10 "%"
verdict "CPU in play (demo)" "${GAME_CPU[demo]}" 15 "%"
verdict "peak resident memory" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" 40 MB
verdict "exec to first title frame" "$(median "${STARTUP[@]}")" 300 ms
