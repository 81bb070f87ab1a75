#!/usr/bin/env bash
# Everything `make bench` measures, written to BUILD/bench: the benchmarks
# with their targets, the instruction counts (when valgrind is at hand), the
# whole-program figures of the real binary under Xvfb, the cost of
# recording and verifying games, the key-to-sound latency, the title's cost
# with its tune and the frames on the display's beat before and after (the
# games before built from git).
# Usage: run_all.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
out=$build/bench
mkdir -p "$out"

echo "== Benchmarks ($(date -u +%Y-%m-%dT%H:%MZ), load $(cut -d' ' -f1-3 /proc/loadavg))"
"$build/swarmfire_bench" --benchmark_color=false --benchmark_out="$out/benchmarks.json" \
  --benchmark_out_format=json | tee "$out/benchmarks.txt"
if command -v valgrind >/dev/null; then
  echo "== Instruction counts"
  "$here/instruction_counts.sh" "$build/swarmfire_bench" | tee "$out/instructions.txt"
fi
echo "== Whole program"
"$here/whole_program.sh" "$build/swarmfire" "$build/data" "$build/xwd_probe" "$out" |
  tee "$out/whole_program.txt"
echo "== Recording and verifying"
"$here/recording.sh" "$build/swarmfire" "$build/record_session" "$build/data" "$out" | tee "$out/recording.txt"
echo "== Display cost"
"$here/display_cost.sh" "$build/swarmfire" "$build/data" "$build/xwd_probe" "$build/bare_present_loop" "$out" |
  tee "$out/display_cost.txt"
echo "== Key to sound"
"$here/sound_latency.sh" "$build" "$out" | tee "$out/sound_latency.txt"
echo "== The title with its tune, before and after"
"$here/title_cost.sh" "$build" "" "$out" | tee "$out/title_cost.txt"
echo "== Frames on the display's beat"
"$here/present_cadence.sh" "$build" | tee "$out/present_cadence.txt"
echo "Figures written to $out"
