#!/usr/bin/env bash
# Instruction counts (valgrind's callgrind) of one worst-case frame drawn by
# the game's renderer and the straightforward way, one ordinary frame, and one
# worst-case world tick: steady figures for before-and-after comparisons on a
# machine too busy for stable timings. Usage: instruction_counts.sh BENCH_BINARY
set -euo pipefail
BENCH=$1
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

# count FILTER FUNCTION: instructions spent in FUNCTION (and below) while the
# benchmark runs one iteration.
count() {
  valgrind --tool=callgrind --callgrind-out-file="$OUT/cg" --toggle-collect="$2" \
    "$BENCH" --smoke --benchmark_filter="$1" >/dev/null 2>"$OUT/log"
  awk '/Collected :/ {print $NF}' "$OUT/log"
}

# Level start draws one ordinary frame before every frame benchmark.
ordinary_two=$(count '^draw_frame/ordinary/' 'draw_frame()')
worst_and_first=$(count '^draw_frame/worst/' 'draw_frame()')
plain=$(count '^straightforward_frame/worst/' 'reference_draw_frame()')
tick=$(count '^world_tick/worst/' 'world_tick()')
ordinary=$((ordinary_two / 2))
worst=$((worst_and_first - ordinary))
printf '%-34s %14s\n' "one frame or tick" "instructions"
printf '%-34s %14d\n' "draw_frame, worst case" "$worst"
printf '%-34s %14d\n' "draw_frame, ordinary frame" "$ordinary"
printf '%-34s %14d\n' "straightforward frame, worst case" "$plain"
printf '%-34s %14d\n' "world_tick, worst case" "$tick"
awk -v a="$plain" -v b="$worst" 'BEGIN { printf "%-34s %13.1fx\n", "straightforward / game", a / b }'
