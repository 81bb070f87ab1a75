#!/usr/bin/env bash
# What the display costs, on one 1920 x 1080 Xvfb: at scales 1, 2 and 3 and
# fullscreen, a bare library loop presenting a 320 x 240 bitmap at 60 Hz
# (bare_present_loop), then the game at its title and in the demo, each
# measured for SECONDS: the CPU share of one core of the program and of the
# X server, the game's share as a ratio to the bare loop's, the frames a
# second the game presented (SWARMFIRE_FRAME_STATS) and the steps each frame
# of the demo carried.
# Usage: display_cost.sh BINARY DATA_DIR XWD_PROBE BARE_LOOP [WORK_DIR] [SECONDS]
BINARY=$1 DATA=$2 XWD_PROBE=$3 BARE=$4 WORK=${5:-$(mktemp -d)}/display_cost
SECONDS_EACH=${6:-10}
rm -rf "$WORK"
source "$(dirname "$0")/../tools/xvfb_lib.sh"

TICK=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# measure PID SECONDS: "GAME_CPU XVFB_CPU", percent of one core.
measure() {
  local g0 x0 t0 g1 x1 t1
  g0=$(cpu_ticks "$1") x0=$(cpu_ticks "$XVFB_PID") t0=$(date +%s.%N)
  sleep "$2"
  g1=$(cpu_ticks "$1") x1=$(cpu_ticks "$XVFB_PID") t1=$(date +%s.%N)
  awk -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v a="$t0" -v b="$t1" -v hz="$TICK" \
    'BEGIN { w = b - a; printf "%.2f %.2f\n", 100 * g / hz / w, 100 * x / hz / w }'
}

start_xvfb
use_file_sound
copy_data "$DATA"

TITLE_SHOT=
not_title() { [ "$(field differ "$(shoot_window now --diff "$WORK/$TITLE_SHOT.xwd")")" -gt 2000 ]; }
on_title() { ! not_title; }
# A key ends the bonus screen once it has cleared its key buffer.
bonus_gone() { tap space && wait_until 3 on_title; }

ROWS=()
for mode in 1 2 3 fullscreen; do
  if [ "$mode" = fullscreen ]; then bare_scale=0 option=--fullscreen; else bare_scale=$mode option=--scale=$mode; fi
  "$BARE" "$bare_scale" $((SECONDS_EACH + 3)) &
  bare_pid=$!
  sleep 1.5
  read -r bare_cpu bare_x < <(measure "$bare_pid" "$SECONDS_EACH")
  wait "$bare_pid" || fail "the bare loop failed at $mode"

  stats=$WORK/stats-$mode.txt
  SWARMFIRE_FRAME_STATS=$stats start_game "$BINARY" "$WORK/data" "$option"
  wait_window
  sleep 1
  TITLE_SHOT=title-$mode
  shoot_window "$TITLE_SHOT" >/dev/null
  read -r title_cpu title_x < <(measure "$GAME_PID" "$SECONDS_EACH")
  wait_until 40 not_title || fail "the bonus screen did not come"
  wait_until 30 bonus_gone || fail "the title did not come back after the bonus screen"
  wait_until 30 not_title || fail "the demo did not start"
  sleep 3
  read -r demo_cpu demo_x < <(measure "$GAME_PID" "$SECONDS_EACH")
  if [ "$FULLSCREEN" -eq 1 ]; then
    tap F11
    sleep 1
    find_window
  fi
  xdotool mousemove --window "$WINDOW" 20 20
  "$(dirname "$XWD_PROBE")/x_client" close "$WINDOW" 2>/dev/null || kill "$GAME_PID"
  wait_exit 10
  # Frames a second: the title's first seconds, and the demo's last whole
  # ones before the close (the switch back out of fullscreen excluded).
  title_fps=$(awk -v n="$SECONDS_EACH" '$1 == "frames_by_second" {for (i = 3; i < 3 + n - 1; i++) s += $i; printf "%.1f", s / (n - 1)}' "$stats")
  demo_fps=$(awk -v n="$SECONDS_EACH" '$1 == "frames_by_second" {for (i = NF - 4; i > NF - 4 - (n - 4); i--) s += $i; printf "%.1f", s / (n - 4)}' "$stats")
  steps=$(awk '$1 == "steps_per_play_frame" {$1 = ""; print}' "$stats")
  ROWS+=("$(awk -v m="$mode" -v bc="$bare_cpu" -v bx="$bare_x" -v tc="$title_cpu" -v tx="$title_x" \
    -v dc="$demo_cpu" -v dx="$demo_x" -v tf="$title_fps" -v df="$demo_fps" -v st="$steps" \
    'BEGIN { printf "| %-10s | %5.2f + %5.2f | %5.2f + %5.2f (%.2f x) | %5.2f + %5.2f (%.2f x) | %4.1f / %4.1f | %s |",
             m, bc, bx, tc, tx, tc / bc, dc, dx, dc / bc, tf, df, st }')")
done

echo "Display cost under Xvfb 1920x1080 ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)), ${SECONDS_EACH} s each;"
echo "CPU as a share of one core, program + X server; ratio: game to bare loop:"
echo
echo "| scale      | bare loop     | title                    | demo                     | fps title / demo | steps a frame of play |"
echo "|------------|---------------|--------------------------|--------------------------|------------------|-----------------------|"
printf '%s\n' "${ROWS[@]}"
