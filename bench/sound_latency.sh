#!/usr/bin/env bash
# Key to sound, and what the background thread costs, for the library's own
# thread and sound periods (SWARMFIRE_LIBRARY_DEFAULTS=1) beside ours, in one
# run, the real binary under Xvfb with sound into the emulated card:
# - at the title at scale 3 (the tune playing), SECONDS long: the wakeups a
#   second of each of the game's threads (voluntary and forced context
#   switches) and the CPU of the game and of the X server;
# - in play with the music switched off, at rest and with both cores kept
#   busy: SHOTS presses of fire at random moments, each after 100 ms of
#   silence, while the pilot (x_pilot) steers the ship clear of harm, and the
#   time from each press to its shot's first sample leaving the card
#   (median, p10, p90) and the card's underruns a minute.
# Usage: sound_latency.sh BINARY DATA_DIR XWD_PROBE CARD_LIBRARY KEY_TO_SOUND X_PILOT [WORK_DIR] [SHOTS] [SECONDS]
BINARY=$1 DATA=$2 XWD_PROBE=$3 CARD=$4 KEY_TO_SOUND=$5 X_PILOT=$6 WORK=${7:-$(mktemp -d)}/sound_latency
SHOTS=${8:-48} SECONDS_EACH=${9:-10}
rm -rf "$WORK"
source "$(dirname "$0")/../tests/real/xvfb_lib.sh"

# The pilot and the loops that keep the cores busy, stopped by their ids.
HELPERS=()
stop_helpers() {
  [ ${#HELPERS[@]} -eq 0 ] && return 0
  kill "${HELPERS[@]}" 2>/dev/null || true
  wait "${HELPERS[@]}" 2>/dev/null || true
  HELPERS=()
}
trap 'stop_helpers; cleanup' EXIT

TICK=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# switches PID: "TID NAME COUNT TICKS" for each thread: its context
# switches and its CPU time in clock ticks.
switches() {
  local task
  for task in /proc/"$1"/task/*; do
    echo "${task##*/} $(cat "$task/comm") $(awk '/ctxt_switches/ {s += $2} END {print s}' "$task/status")" \
      "$(awk '{print $14 + $15}' "$task/stat")"
  done 2>/dev/null
}

# setup NAME: the environment of the game for the library's ways or ours.
setup() {
  if [ "$1" = library ]; then export SWARMFIRE_LIBRARY_DEFAULTS=1; else unset SWARMFIRE_LIBRARY_DEFAULTS; fi
}

stop_game() {
  [ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null
  wait "$GAME_PID" 2>/dev/null || true
  GAME_PID=
}

# title_cost NAME: one table row, and the thread rows, of the title's cost.
TITLE_ROWS=() THREAD_ROWS=()
declare -A TITLE_WAKEUPS TITLE_CPU FIGURES
title_cost() {
  setup "$1"
  use_emulated_card "$CARD" "title-$1"
  start_game "$BINARY" "$WORK/data" --scale=3
  wait_window
  sleep 2
  local g0 x0 t0 g1 x1 t1
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
        printf "| %-8s | %-10s | %6.0f | %5.2f %% |\n", s, ($1 == pid ? "main" : $2), n / w, 100 * c / hz / w }' \
      "$WORK/switches-$1-0" "$WORK/switches-$1-1")")
  total=$(awk -v w="$wall" 'NR == FNR { before[$1] = $3; next }
      { s += ($1 in before) ? $3 - before[$1] : $3 } END { printf "%.0f", s / w }' \
      "$WORK/switches-$1-0" "$WORK/switches-$1-1")
  TITLE_WAKEUPS[$1]=$total
  TITLE_CPU[$1]=$(awk -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v w="$wall" -v hz="$TICK" 'BEGIN { printf "%.2f", 100 * (g + x) / hz / w }')
  TITLE_ROWS+=("$(awk -v s="$1" -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v w="$wall" -v hz="$TICK" -v n="$total" \
    'BEGIN { printf "| %-8s | %5d | %5.2f %% | %5.2f %% | %5.2f %% |", s, n,
             100 * g / hz / w, 100 * x / hz / w, 100 * (g + x) / hz / w }')")
}

# play_latency NAME LOAD: a game with the music off, SHOTS shots fired.
LATENCY_ROWS=()
play_latency() {
  local name=$1 load=$2 run=$1-$2 figures
  setup "$name"
  use_emulated_card "$CARD" "$run"
  rm -f "$WORK/feed"
  SWARMFIRE_PLAY_FEED=$WORK/feed start_game "$BINARY" "$WORK/data"
  wait_window
  sleep 1
  music_off
  start_play
  "$X_PILOT" "$WORK/feed" dodge 600 &
  HELPERS+=($!)
  if [ "$load" = busy ]; then
    for _ in 1 2; do
      (while :; do :; done) &
      HELPERS+=($!)
    done
  fi
  figures=$("$KEY_TO_SOUND" "$WORK/$run.log" "$WORK/$run.raw" "$SHOTS" "$WORK/latencies-$run") ||
    fail "no shot heard ($run): $figures"
  stop_helpers
  stop_game
  FIGURES[$run]=$figures
  echo "$run: $figures $(awk '$1 == "params" {print "periods", $5, "x", $6, "at", $2, "Hz"}' "$WORK/$run.log")" >&2
  LATENCY_ROWS+=("$(awk -v s="$name" -v l="$load" -v f="$figures" -v p="$(awk '$1 == "params" {print $5 " x " $6}' "$WORK/$run.log")" \
    'BEGIN { split(f, v, " "); for (i = 1; i < 16; i += 2) k[v[i]] = v[i + 1]
             printf "| %-8s | %-4s | %-9s | %2d of %2d | %5.1f | %5.1f | %5.1f | %4.1f |", s, l, p,
                    k["heard"], k["shots"], k["median"], k["p10"], k["p90"], k["underruns"] / k["minutes"] }')")
}

LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
start_xvfb
copy_data "$DATA"
for name in library ours; do title_cost "$name"; done
for load in rest busy; do
  for name in library ours; do play_latency "$name" "$load"; done
done

echo "Key to sound and the background thread under Xvfb ($(nproc) cores, load $LOAD_BEFORE before, $(cut -d' ' -f1-3 /proc/loadavg) after);"
echo "library: the library's own thread and sound periods; ours: the game's."
echo
echo "At the title at scale 3, ${SECONDS_EACH} s; CPU as a share of one core:"
echo
echo "| setup    | wakeups a second, all threads | game | X server | together |"
echo "|----------|-------|---------|---------|---------|"
printf '%s\n' "${TITLE_ROWS[@]}"
echo
echo "| setup    | thread     | wakeups a second | CPU |"
echo "|----------|------------|--------|---------|"
printf '%s\n' "${THREAD_ROWS[@]}"
echo
echo "Fire key to the shot's first sample leaving the card, ms ($SHOTS presses each):"
echo
echo "| setup    | load | periods   | heard    | median | p10 | p90 | underruns a minute |"
echo "|----------|------|-----------|----------|-------|-------|-------|------|"
printf '%s\n' "${LATENCY_ROWS[@]}"
echo

# figure RUN NAME: one figure of a latency run.
figure() { awk -v k="$2" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}' <<<"${FIGURES[$1]}"; }
# verdict WHAT VALUE LIMIT UNIT
verdict() {
  awk -v w="$1" -v v="$2" -v l="$3" -v u="$4" \
    'BEGIN { printf "%-46s %8.2f %-3s (limit %s %s)  %s\n", w, v, u, l, u, v <= l ? "met" : "NOT met" }'
}
verdict "key to sound, median, at rest" "$(figure ours-rest median)" 40 ms
verdict "key to sound, p90, at rest" "$(figure ours-rest p90)" 50 ms
verdict "underruns at rest (over $(figure ours-rest minutes) minutes)" "$(figure ours-rest underruns)" 0 ""
verdict "wakeups a second at the title, all threads" "${TITLE_WAKEUPS[ours]}" 250 ""
verdict "CPU at the title, game + X server" "${TITLE_CPU[ours]}" 1.5 "%"
