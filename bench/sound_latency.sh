#!/usr/bin/env bash
# Key to sound, underruns, and what the sound costs at the title, in one
# run: the real binary under Xvfb, its sound going into the emulated card
# (tools/emulated_card.cpp), or through a private PipeWire whose sink
# is that card (tools/pipewire_lib.sh).
# - At the title at scale 3 (the tune playing), SECONDS long: the wakeups a
#   second of each of the game's threads (voluntary and forced context
#   switches) and the CPU of the game and of the X server.
# - In play with the music switched off, SHOTS presses of fire at random
#   moments, each after 100 ms of silence, while the pilot (x_pilot) steers
#   the ship clear of harm: the time from each press to its shot's first
#   sample leaving the card (median, p10, p90), and the underruns a minute
#   from the stream's start, the card's and (through PipeWire) the game's
#   own stream's. Rows: at rest; two busy loops; a make -j2 build of the
#   game running; through PipeWire at rest.
# The load average (1 minute) stands beside every figure, at the start and
# the end of its run: on a busy machine the figures are the load's.
# Usage: sound_latency.sh BUILD_DIR [WORK_DIR]
# Environment: SHOTS (48), SECONDS_EACH (10), ROWS ("rest busy build
# pipewire"), BEFORE=BINARY: the same rows for another build of the game
# (an older one, say) beside this one's; PLAIN=1 (as root): the same rows
# for this build without the right to real-time priority.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:?usage: sound_latency.sh BUILD_DIR [WORK_DIR]}" && pwd)
BINARY=$BUILD/swarmfire DATA=$BUILD/data XWD_PROBE=$BUILD/xwd_probe CARD=$BUILD/tools/libemulated_card.so
KEY_TO_SOUND=$BUILD/key_to_sound X_PILOT=$BUILD/x_pilot
WORK=${2:-$(mktemp -d)}/sound_latency
SHOTS=${SHOTS:-48} SECONDS_EACH=${SECONDS_EACH:-10} ROWS=${ROWS:-rest busy build pipewire}
rm -rf "$WORK"
source "$here/../tools/xvfb_lib.sh"
source "$here/../tools/pipewire_lib.sh"

declare -A BINARY_OF=([ours]=$BINARY)
SETUPS=(ours)
if [ -n "${BEFORE:-}" ]; then
  BINARY_OF[before]=$(realpath "$BEFORE")
  SETUPS=(before ours)
fi
if [ "${PLAIN:-0}" = 1 ] && [ "$(id -u)" -eq 0 ]; then
  # Root without the capability, and no RealtimeKit to ask.
  printf '#!/bin/sh\nexec setpriv --bounding-set=-sys_nice --inh-caps=-sys_nice -- env %s "%s" "$@"\n' \
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent "$BINARY" >"$WORK/plain"
  chmod +x "$WORK/plain"
  BINARY_OF[plain]=$WORK/plain
  SETUPS+=(plain)
fi

# The pilot, the loops that keep the cores busy and the build, each stopped
# by its id (the build by its process group, which holds its compilers).
HELPERS=() GROUPS_STARTED=()
stop_helpers() {
  local g
  for g in "${GROUPS_STARTED[@]}"; do kill -- "-$g" 2>/dev/null || true; done
  [ ${#HELPERS[@]} -gt 0 ] && kill "${HELPERS[@]}" 2>/dev/null || true
  for g in "${HELPERS[@]}" "${GROUPS_STARTED[@]}"; do wait "$g" 2>/dev/null || true; done
  HELPERS=() GROUPS_STARTED=()
}
trap 'stop_helpers; stop_pipewire; cleanup' EXIT

TICK=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
load() { cut -d' ' -f1 /proc/loadavg; }

# switches PID: "TID NAME COUNT TICKS" for each thread: its context
# switches and its CPU time in clock ticks.
switches() {
  local task
  for task in /proc/"$1"/task/*; do
    echo "${task##*/} $(cat "$task/comm") $(awk '/ctxt_switches/ {s += $2} END {print s}' "$task/status")" \
      "$(awk '{print $14 + $15}' "$task/stat")"
  done 2>/dev/null
}

# title_cost SETUP: one table row, and the thread rows, of the title's cost.
TITLE_ROWS=() THREAD_ROWS=()
declare -A TITLE_WAKEUPS TITLE_CPU FIGURES
title_cost() {
  local l0
  use_emulated_card "$CARD" "title-$1"
  start_game "${BINARY_OF[$1]}" "$WORK/data" --scale=3
  wait_window
  sleep 2
  local g0 x0 t0 g1 x1 t1
  l0=$(load)
  switches "$GAME_PID" >"$WORK/switches-$1-0"
  g0=$(cpu_ticks "$GAME_PID") x0=$(cpu_ticks "$XVFB_PID") t0=$(date +%s.%N)
  sleep "$SECONDS_EACH"
  switches "$GAME_PID" >"$WORK/switches-$1-1"
  g1=$(cpu_ticks "$GAME_PID") x1=$(cpu_ticks "$XVFB_PID") t1=$(date +%s.%N)
  local pid=$GAME_PID
  stop_game
  local wall total
  wall=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
  THREAD_ROWS+=("$(awk -v w="$wall" -v pid="$pid" -v s="$1" -v hz="$TICK" '
      NR == FNR { before[$1] = $3; ticks[$1] = $4; next }
      { n = ($1 in before) ? $3 - before[$1] : $3; c = ($1 in ticks) ? $4 - ticks[$1] : $4
        printf "| %-6s | %-10s | %6.0f | %5.2f %% |\n", s, ($1 == pid ? "main" : $2), n / w, 100 * c / hz / w }' \
      "$WORK/switches-$1-0" "$WORK/switches-$1-1")")
  total=$(awk -v w="$wall" 'NR == FNR { before[$1] = $3; next }
      { s += ($1 in before) ? $3 - before[$1] : $3 } END { printf "%.0f", s / w }' \
      "$WORK/switches-$1-0" "$WORK/switches-$1-1")
  TITLE_WAKEUPS[$1]=$total
  TITLE_CPU[$1]=$(awk -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v w="$wall" -v hz="$TICK" 'BEGIN { printf "%.2f", 100 * (g + x) / hz / w }')
  TITLE_ROWS+=("$(awk -v s="$1" -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v w="$wall" -v hz="$TICK" -v n="$total" \
    -v l="$l0 - $(load)" 'BEGIN { printf "| %-6s | %5d | %5.2f %% | %5.2f %% | %5.2f %% | %s |", s, n,
             100 * g / hz / w, 100 * x / hz / w, 100 * (g + x) / hz / w, l }')")
}

# load_start ROW: the load of the row beside the game: two busy loops, or a
# build of the game from a scratch folder with make -j2, again and again.
load_start() {
  case $1 in
    busy)
      for _ in 1 2; do
        (while :; do :; done) &
        HELPERS+=($!)
      done
      ;;
    build)
      [ -f "$WORK/scratch/Makefile" ] ||
        cmake -S "$here/.." -B "$WORK/scratch" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$WORK/scratch.log" 2>&1
      setsid bash -c 'while :; do make -C "$1" clean; make -C "$1" -j2 swarmfire_core; done' _ "$WORK/scratch" \
        >>"$WORK/scratch.log" 2>&1 &
      GROUPS_STARTED+=($!)
      ;;
  esac
}

# play_latency SETUP ROW: a game with the music off, SHOTS shots fired.
LATENCY_ROWS=() QUANTA=()
play_latency() {
  local setup=$1 row=$2 run=$1-$2 figures l0 card_underruns game_underruns
  if [ "$row" = pipewire ]; then start_pipewire "$CARD" "$run"; else use_emulated_card "$CARD" "$run"; fi
  rm -f "$WORK/feed" "$WORK/$run.sound"
  SWARMFIRE_SOUND_LOG=$WORK/$run.sound SWARMFIRE_PLAY_FEED=$WORK/feed start_game "${BINARY_OF[$setup]}" "$WORK/data"
  wait_window
  sleep 1
  music_off
  start_play
  "$X_PILOT" "$WORK/feed" dodge 600 &
  HELPERS+=($!)
  load_start "$row"
  l0=$(load)
  figures=$("$KEY_TO_SOUND" "$WORK/$run.log" "$WORK/$run.raw" "$SHOTS" "$WORK/latencies-$run") ||
    fail "no shot heard ($run): $figures"
  local l1 stream_latency="" quantum=""
  l1=$(load)
  if [ "$row" = pipewire ]; then
    stream_latency=$(game_stream latency)
    quantum=$(graph_quantum)
    QUANTA+=("$setup: the game's stream asked for ${stream_latency:-?} (pipewire-alsa), the graph ran a quantum of ${quantum:-?} at 48 kHz; the sink: $(awk '$1 == "params" {print $5 " x " $6 " frames at " $2 " Hz"; exit}' "$WORK/$run.log")")
  fi
  stop_helpers
  stop_game
  [ "$row" = pipewire ] && stop_pipewire
  # Underruns from the stream's start: the card's, and through PipeWire the
  # game's own stream's (which PipeWire fills with silence).
  card_underruns=$(grep -c '^underrun' "$WORK/$run.log" || true)
  game_underruns=0
  [ "$row" = pipewire ] && [ -f "$WORK/$run.sound" ] && game_underruns=$(grep -c '^underrun' "$WORK/$run.sound" || true)
  FIGURES[$run]="$figures underruns_all $((card_underruns + game_underruns))"
  echo "$run: $figures; card underruns $card_underruns, the game's $game_underruns; load $l0 - $l1" >&2
  LATENCY_ROWS+=("$(awk -v s="$setup" -v r="$row" -v f="$figures" -v u=$((card_underruns + game_underruns)) \
    -v l="$l0 - $l1" -v p="$(awk '$1 == "params" {print $5 " x " $6; exit}' "$WORK/$run.log")" '
    BEGIN { split(f, v, " "); for (i = 1; i < 16; i += 2) k[v[i]] = v[i + 1]
            printf "| %-6s | %-8s | %-8s | %2d of %2d | %5.1f | %5.1f | %5.1f | %4.1f (%d in %.1f min) | %s |",
                   s, r, p, k["heard"], k["shots"], k["median"], k["p10"], k["p90"], u / k["minutes"], u,
                   k["minutes"], l }')")
}

LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
start_xvfb
copy_data "$DATA"
for setup in "${SETUPS[@]}"; do title_cost "$setup"; done
for row in $ROWS; do
  for setup in "${SETUPS[@]}"; do play_latency "$setup" "$row"; done
done

echo "Key to sound and the sound's cost under Xvfb ($(nproc) cores, load $LOAD_BEFORE before, $(cut -d' ' -f1-3 /proc/loadavg) after)."
[ -n "${BEFORE:-}" ] && echo "before: $BEFORE; ours: $BINARY."
echo
echo "At the title at scale 3, ${SECONDS_EACH} s; CPU as a share of one core:"
echo
echo "| setup  | wakeups a second, all threads | game | X server | together | load |"
echo "|--------|-------|---------|---------|---------|------|"
printf '%s\n' "${TITLE_ROWS[@]}"
echo
echo "| setup  | thread     | wakeups a second | CPU |"
echo "|--------|------------|--------|---------|"
printf '%s\n' "${THREAD_ROWS[@]}"
echo
echo "Fire key to the shot's first sample leaving the card, ms ($SHOTS presses each); underruns from the stream's start:"
echo
echo "| setup  | row      | card's periods | heard | median | p10 | p90 | underruns a minute | load |"
echo "|--------|----------|----------|----------|-------|-------|-------|------|------|"
printf '%s\n' "${LATENCY_ROWS[@]}"
[ ${#QUANTA[@]} -gt 0 ] && printf 'Through PipeWire: %s\n' "${QUANTA[@]}"
echo

# figure RUN NAME: one figure of a latency run.
figure() { awk -v k="$2" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}' <<<"${FIGURES[$1]:-}"; }
# verdict WHAT VALUE LIMIT UNIT
verdict() {
  [ -n "$2" ] || return 0
  awk -v w="$1" -v v="$2" -v l="$3" -v u="$4" \
    'BEGIN { printf "%-50s %8.2f %-3s (limit %s %s)  %s\n", w, v, u, l, u, v <= l ? "met" : "NOT met" }'
}
for row in $ROWS; do
  verdict "key to sound, median, $row" "$(figure "ours-$row" median)" 40 ms
  verdict "key to sound, p90, $row" "$(figure "ours-$row" p90)" 50 ms
  verdict "underruns, $row, from the start" "$(figure "ours-$row" underruns_all)" 0 ""
done
if [ -n "${BEFORE:-}" ]; then
  verdict "wakeups a second at the title, all threads (before: ${TITLE_WAKEUPS[before]})" "${TITLE_WAKEUPS[ours]}" "${TITLE_WAKEUPS[before]}" ""
  verdict "CPU at the title, game + X server (before: ${TITLE_CPU[before]} %)" "${TITLE_CPU[ours]}" "${TITLE_CPU[before]}" "%"
fi
