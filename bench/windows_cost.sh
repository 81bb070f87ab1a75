#!/usr/bin/env bash
# The frame's cost on Windows, under wine, beside Linux's: on one
# 1920 x 1080 Xvfb, the Linux game and then the Windows exe at scale 3
# (960 x 720), each started into play and measured for SECONDS of it (the
# ship steered and firing): the frames a second the game presented, the
# share of frames of play that carried one step, and the processor time a
# frame took, the game's own (drawing, scaling, presenting) and the X
# server's.
# Usage: windows_cost.sh LINUX_BUILD WINDOWS_BUILD [SECONDS]
source "$(dirname "$0")/../tools/xvfb_lib.sh"
source "$(dirname "$0")/../tools/wine_lib.sh"
SECONDS_EACH=${3:-10}
windows_folders "$1" "$2"
start_xvfb
copy_data "$DATA"
TICK=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# measured NAME STATS: the game running in play, measured, its frame
# statistics written into STATS at its end; one row of the table.
measured() {
  local g0 x0 t0 g1 x1 t1 stats=$2
  start_play
  xdotool keydown Alt_L
  g0=$(cpu_ticks "$GAME_PID") x0=$(cpu_ticks "$XVFB_PID") t0=$(date +%s.%N)
  for _ in $(seq "$SECONDS_EACH"); do tap Left 0.35 && tap Right 0.35; done
  g1=$(cpu_ticks "$GAME_PID") x1=$(cpu_ticks "$XVFB_PID") t1=$(date +%s.%N)
  xdotool keyup Alt_L
  "$X_CLIENT" close "$WINDOW" || fail "could not press the close button"
  game_ended 0
  # Frames a second over the whole seconds before the close.
  awk -v name="$1" -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v hz="$TICK" -v w="$(awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}')" \
    -v n="$SECONDS_EACH" '
    $1 == "frames_by_second" { for (i = NF - n; i < NF; i++) frames += $i; fps = frames / n }
    $1 == "steps_per_play_frame" { for (i = 2; i <= NF; i++) { split($i, kv, ":"); all += kv[2]; if (kv[1] == "1") one = kv[2] } }
    END { printf "| %-22s | %5.1f | %5.1f%% | %6.2f | %6.2f |\n", name, fps, 100 * one / all,
          1000 * g / hz / (fps * w), 1000 * x / hz / (fps * w) }' "$stats"
}

rows=$(
  SWARMFIRE_FRAME_STATS=$WORK/linux.stats open_game
  measured "Linux" "$WORK/linux.stats"
  SWARMFIRE_FRAME_STATS=$(win_path "$WORK/windows.stats") wine_game
  [ "${WIN_W}x$WIN_H" = 960x720 ] || fail "the window under wine is ${WIN_W}x$WIN_H"
  measured "Windows, under wine" "$WORK/windows.stats"
)
echo "The frame's cost in play at 960 x 720 on Xvfb 1920x1080 ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)),"
echo "${SECONDS_EACH} s each; processor time a frame, the game's and the X server's:"
echo
echo "| Game | frames a second | frames of one step | game ms a frame | X server ms a frame |"
echo "|---|---|---|---|---|"
echo "$rows"
