#!/usr/bin/env bash
# The fuzzers: their clang build, timed runs, and the replay of the saved
# cases. Two targets: the datafile check (fuzz_datafile) and the replay of
# recordings (fuzz_recording).
#
#   run_fuzz.sh build  <source dir> <fuzz build dir>
#       configures (once) and builds the clang sub-build, writes the seeds
#   run_fuzz.sh run    <source dir> <fuzz build dir> <data dir> <seconds> [<corpus dir>]
#       fuzzes the datafile check for that long from the seeds, the generated
#       datafiles of the data dir and the corpus dir (kept; without one, a
#       fresh corpus that goes away afterwards); prints executions, coverage
#       and crashes
#   run_fuzz.sh run-recording <source dir> <fuzz build dir> <seconds> [<corpus dir>]
#       the same for the replay of recordings, from its recorded seeds
#   run_fuzz.sh replay <source dir> <fuzz build dir>
#       runs every saved case of tests/fuzz_cases once through its target:
#       *.bin through the datafile check, recordings/*.sfr through the replay
set -euo pipefail

mode=$1 src=$2 out=$3
target=$out/fuzz_datafile
seeds=$out/seeds
recording_target=$out/fuzz_recording
recording_seeds=$out/recording-seeds

build() {
  if [ ! -f "$out/CMakeCache.txt" ]; then
    cmake -S "$src" -B "$out" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWARMFIRE_FUZZ=ON -DSWARMFIRE_TESTS=OFF \
      -DSWARMFIRE_BENCH=OFF >"$out.configure.log" 2>&1 || { cat "$out.configure.log"; exit 1; }
  fi
  cmake --build "$out" --target fuzz_datafile make_seeds fuzz_recording make_recording_seeds -j2
  rm -rf "$seeds" "$recording_seeds"
  mkdir -p "$seeds" "$recording_seeds"
  "$out/make_seeds" "$seeds"
  "$out/make_recording_seeds" "$recording_seeds"
}

# The target's scratch folder: one of its own in the build for every call,
# since a run and a replay may go on side by side, and away afterwards.
scratch() {
  mkdir -p "$out"
  TMPDIR=$(mktemp -d "$out/tmp.XXXXXX")
  export TMPDIR
  trap 'rm -rf "$TMPDIR"' EXIT
}

# The closing figures of a run, from libFuzzer's log.
summarise() {
  local log=$1 status=$2 crashes=$3
  local runs rate cov ft corp
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  corp=$(grep -o 'corp: [0-9]*/[0-9A-Za-z]*' "$log" | tail -1 | cut -d' ' -f2)
  echo "fuzz: ${runs:-?} executions, ${rate:-?} per second, coverage ${cov:-?} edges" \
       "(${ft:-?} features), corpus ${corp:-?}"
  if [ "$status" -ne 0 ]; then
    echo "fuzz: FAILED (status $status); the failing inputs:"
    ls -1 "$crashes" | sed "s|^|  $crashes/|"
    echo "fuzz: see $log; save a minimised case in tests/fuzz_cases"
  else
    echo "fuzz: no crash, no hang, no sanitizer report"
  fi
}

# fuzz NAME TARGET SEEDS SECONDS CORPUS [libFuzzer options]: a timed run; its
# log and failing inputs named after NAME, with "-short" for a fresh corpus.
fuzz() {
  local name=$1 binary=$2 from=$3 seconds=$4 corpus=$5
  shift 5
  local crashes=$out/crashes$name log=$out/fuzz$name.log fresh=
  if [ -z "$corpus" ]; then
    corpus=$out/fresh-corpus$name crashes=$out/crashes$name-short log=$out/fuzz$name-short.log fresh=yes
    rm -rf "$corpus"
  fi
  rm -rf "$crashes"
  mkdir -p "$corpus" "$crashes"
  scratch
  local status=0
  "$binary" "$@" -timeout=1 -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$corpus" "$from" >"$log" 2>&1 || status=$?
  [ -n "$fresh" ] && rm -rf "$corpus"
  [ "$status" -ne 0 ] && only_slow "$binary" "$crashes" && status=0
  summarise "$log" "$status" "$crashes"
  return "$status"
}

# only_slow TARGET CRASHES: whether every failing input is a timeout (over
# a second) that, run again alone, ends within ten: the run was slowed by a
# loaded machine, it found no hang. Each one's time is told.
only_slow() {
  local input started
  [ -n "$(ls -A "$2")" ] || return 1
  for input in "$2"/*; do
    [[ $(basename "$input") == timeout-* ]] || return 1
    started=$EPOCHREALTIME
    "$1" -timeout=10 -runs=1 "$input" >/dev/null 2>&1 || return 1
    echo "fuzz: $(basename "$input") passed over a second, alone in $(awk "BEGIN { printf \"%.2f\", $EPOCHREALTIME - $started }") s: not a hang"
  done
}

run() {
  local data=$1
  for f in "$data"/*.dat; do
    [ -f "$f" ] && cp "$f" "$seeds/generated-$(basename "$f" .dat).bin"
  done
  fuzz "" "$target" "$seeds" "$2" "${3:-}" -dict="$src/fuzz/datafile.dict"
}

run_recording() { fuzz "-recording" "$recording_target" "$recording_seeds" "$1" "${2:-}"; }

replay() {
  local cases=("$src"/tests/fuzz_cases/*.bin) recordings=("$src"/tests/fuzz_cases/recordings/*.sfr)
  local crashes=$out/crashes-replay
  rm -rf "$crashes"
  mkdir -p "$crashes"
  scratch
  local status=0
  "$target" -timeout=1 -artifact_prefix="$crashes/" "${cases[@]}" || status=$?
  "$recording_target" -timeout=1 -artifact_prefix="$crashes/" "${recordings[@]}" || status=$?
  echo "fuzz: replayed ${#cases[@]} saved datafile cases and ${#recordings[@]} saved recordings"
  return "$status"
}

case $mode in
  build) build ;;
  run) run "$4" "$5" "${6:-}" ;;
  run-recording) run_recording "$4" "${5:-}" ;;
  replay) replay ;;
  *) echo "usage: $0 build|run|run-recording|replay <source dir> <fuzz build dir> ..." >&2; exit 2 ;;
esac
