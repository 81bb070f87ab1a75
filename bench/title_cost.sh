#!/usr/bin/env bash
# What the title costs with its tune playing, the game before and after its
# sound was made leaner, in one run: the real binary at scale 3 under Xvfb,
# its sound going into the emulated card (tools/emulated_card.cpp).
# - RUNS runs of SECONDS_EACH seconds each, the two builds taking turns:
#   the CPU of the game and of the X server, the sound thread's own CPU
#   (its run time from /proc/PID/task/TID/schedstat), and the wakeups a
#   second of each thread (voluntary and forced context switches).
# - The title's tune as each build plays it into ALSA's file device, from
#   its first sound on for TUNE_SECONDS: identical, or their RMS difference.
# Usage: title_cost.sh BUILD_DIR [BEFORE_BINARY] [WORK_DIR]
# Without BEFORE_BINARY the game as it was before (the parent of the commit
# that gave the sound thread its longer sleeps) is built in
# BUILD_DIR/sound-before (a git worktree; the game alone).
# Environment: RUNS (3), SECONDS_EACH (10), TUNE_SECONDS (6), CARD (another
# build of the emulated card).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:?usage: title_cost.sh BUILD_DIR [BEFORE_BINARY] [WORK_DIR]}" && pwd)
BEFORE=${2:-}
WORK=${3:-$(mktemp -d)}/title_cost
BINARY=$BUILD/swarmfire DATA=$BUILD/data XWD_PROBE=$BUILD/xwd_probe CARD=${CARD:-$BUILD/tools/libemulated_card.so}
RUNS=${RUNS:-3} SECONDS_EACH=${SECONDS_EACH:-10} TUNE_SECONDS=${TUNE_SECONDS:-6}
rm -rf "$WORK"
source "$here/../tools/xvfb_lib.sh"
source "$here/before_build.sh"

# before_binary: the game built from the commit before this change.
before_binary() {
  local first
  first=$(git -C "$here/.." log -S SOUND_WAKE_FRAMES --format=%H -- platform/sound/alsa_driver.cpp | tail -n 1)
  [ -n "$first" ] || fail "no commit brought SOUND_WAKE_FRAMES"
  before_build "$BUILD/sound-before" "$first" -DCMAKE_BUILD_TYPE=RelWithDebInfo
}
[ -n "$BEFORE" ] || BEFORE=$(before_binary)
declare -A BINARY_OF=([before]=$(realpath "$BEFORE") [after]=$BINARY)

TICK=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
load() { cut -d' ' -f1 /proc/loadavg; }

# threads PID: "TID NAME SWITCHES RUN_NS" a line for each thread; the main
# thread is "main", an unnamed one (the library's timer) "timer".
threads() {
  local task comm main
  main=$(cat "/proc/$1/comm")
  for task in /proc/"$1"/task/*; do
    comm=$(cat "$task/comm")
    [ "${task##*/}" = "$1" ] && comm=main
    [ "$comm" = "$main" ] && comm=timer
    echo "${task##*/} $comm $(awk '/ctxt_switches/ {s += $2} END {print s}' "$task/status")" \
      "$(cut -d' ' -f1 "$task/schedstat")"
  done 2>/dev/null
}

# measure SETUP RUN: one row; FIGURES[SETUP] gathers "wakeups cpu sound".
ROWS=()
declare -A FIGURES
measure() {
  use_emulated_card "$CARD" "title-$1-$2"
  start_game "${BINARY_OF[$1]}" "$WORK/data" --scale=3
  wait_window
  sleep 2
  local l0 g0 x0 t0 g1 x1 t1 row
  l0=$(load)
  threads "$GAME_PID" >"$WORK/threads-0"
  g0=$(cpu_ticks "$GAME_PID") x0=$(cpu_ticks "$XVFB_PID") t0=$(date +%s.%N)
  sleep "$SECONDS_EACH"
  threads "$GAME_PID" >"$WORK/threads-1"
  g1=$(cpu_ticks "$GAME_PID") x1=$(cpu_ticks "$XVFB_PID") t1=$(date +%s.%N)
  stop_game
  row=$(awk -v w="$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')" -v g=$((g1 - g0)) -v x=$((x1 - x0)) \
    -v hz="$TICK" -v s="$1" -v r="$2" -v l="$l0 - $(load)" '
      NR == FNR { n0[$1] = $3; c0[$1] = $4; next }
      { n = $3 - n0[$1]; all += n; by[$2] += n; if ($2 == "sound") snd = $4 - c0[$1] }
      END { printf "%s %s %.0f %.0f %.0f %.0f %.0f %.2f %.2f %.2f %.2f %s\n", s, r, all / w, by["main"] / w,
                   by["background"] / w, by["timer"] / w, by["sound"] / w, 100 * g / hz / w, 100 * x / hz / w,
                   100 * (g + x) / hz / w, snd / 1e7 / w, l }' "$WORK/threads-0" "$WORK/threads-1")
  read -r _ _ all main bg timer sound game x sum snd l <<<"$row"
  ROWS+=("$(printf '| %-6s | %s | %4s | %3s / %3s / %3s / %3s | %5s %% | %5s %% | %5s %% | %5s %% | %s |' \
    "$1" "$2" "$all" "$main" "$bg" "$timer" "$sound" "$game" "$x" "$sum" "$snd" "$l")")
  FIGURES[$1]+="$all $sum $snd;"
}

# capture SETUP: the title's tune as the build plays it into ALSA's file
# device, from its first sound on, TUNE_SECONDS long, in $WORK/tune-SETUP.raw.
capture() {
  sound_device 'pcm.null { type null }' \
    "pcm.!default { type file slave.pcm \"null\" file \"$WORK/file-$1.raw\" format \"raw\" }"
  start_game "${BINARY_OF[$1]}" "$WORK/data" --scale=3
  wait_window
  sleep $((TUNE_SECONDS + 3))
  stop_game
  local first
  # The first frame that is not silence (unsigned 16-bit: 0x8000).
  first=$(od -An -v -w4 -tx4 "$WORK/file-$1.raw" | awk '$1 != "80008000" { print (NR - 1) * 4; exit }' || true)
  [ -n "$first" ] || fail "no tune heard from the $1 build"
  dd if="$WORK/file-$1.raw" of="$WORK/tune-$1.raw" iflag=skip_bytes,count_bytes skip="$first" \
    count=$((TUNE_SECONDS * 44100 * 4)) status=none
}

# tune_difference: "identical", or the RMS difference of the two captures
# in dB below full scale.
tune_difference() {
  if cmp -s "$WORK/tune-before.raw" "$WORK/tune-after.raw"; then
    echo "identical ($(($(stat -c %s "$WORK/tune-after.raw") / 4)) frames)"
    return
  fi
  paste <(od -An -v -w2 -tu2 "$WORK/tune-before.raw") <(od -An -v -w2 -tu2 "$WORK/tune-after.raw") |
    awk '{ d = ($1 - $2) / 32768; s += d * d; n++ }
      END { printf "differ: RMS difference %.1f dB below full scale over %d samples\n", 10 * log(s / n) / log(10), n }'
}

LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
start_xvfb
copy_data "$DATA"
for run in $(seq "$RUNS"); do
  for setup in before after; do measure "$setup" "$run"; done
done
for setup in before after; do capture "$setup"; done

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
# figure SETUP N: the median of the Nth figure (1 wakeups, 2 game + X, 3 sound).
figure() {
  local values=() entry
  IFS=';' read -ra entries <<<"${FIGURES[$1]}"
  for entry in "${entries[@]}"; do values+=("$(cut -d' ' -f"$2" <<<"$entry")"); done
  median "${values[@]}"
}

echo "The title at scale 3, its tune playing, under Xvfb ($(nproc) cores, load $LOAD_BEFORE before," \
  "$(cut -d' ' -f1-3 /proc/loadavg) after); $RUNS runs of $SECONDS_EACH s each, CPU as a share of one core."
echo "before: ${BINARY_OF[before]}; after: $BINARY."
echo
echo "| setup | run | wakeups a second | main / background / timer / sound | game | X server | game + X | sound thread | load |"
echo "|---|---|---|---|---|---|---|---|---|"
printf '%s\n' "${ROWS[@]}"
echo
echo "The title's tune, ${TUNE_SECONDS} s from its first sound, before against after: $(tune_difference)"
echo

# verdict WHAT VALUE LIMIT UNIT
verdict() {
  awk -v w="$1" -v v="$2" -v l="$3" -v u="$4" \
    'BEGIN { printf "%-58s %7.2f %-2s (limit %s %s)  %s\n", w, v, u, l, u, v <= l ? "met" : "NOT met" }'
}
verdict "title, game + X server, median (before: $(figure before 2) %)" "$(figure after 2)" 1.5 "%"
verdict "title, the sound thread, median (before: $(figure before 3) %)" "$(figure after 3)" 0.5 "%"
verdict "title, wakeups a second, all threads (before: $(figure before 1))" "$(figure after 1)" 200 ""
