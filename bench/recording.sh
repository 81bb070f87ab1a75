#!/usr/bin/env bash
# Recording and verifying games: a ten-minute session played headless by a
# pilot (bench/record_session.cpp), without and with a recording, in turns,
# its processor time (median of three each) and, when valgrind is at hand,
# the instructions of a one-minute session both ways; then the real binary's
# --verify of the ten-minute recording (median of three): wall and processor
# time, and how many times faster than the ten minutes it replays; the
# recording's size per minute; and the seeks of the viewer (seek_times,
# beside RECORD_SESSION) in sessions of 5, 10, 30 and 90 minutes and in the
# tests' stored games, with the memory of the states kept for them.
# Usage: recording.sh BINARY RECORD_SESSION DATA_DIR [WORK_DIR]
set -euo pipefail
BINARY=$(realpath "$1") SESSION=$(realpath "$2") DATA=$3 WORK=$(realpath "${4:-$(mktemp -d)}")/recording
SEEK=$(dirname "$SESSION")/seek_times STORED_RECORDING=$(dirname "$SESSION")/stored_recording STORED=$(cd "$(dirname "$0")/../tests/replays" && pwd)
MINUTES=10
rm -rf "$WORK"
mkdir -p "$WORK"
cd "$DATA"

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
cpu() { awk '{for (i = 1; i < NF; i++) if ($i == "cpu_seconds") print $(i + 1)}' <<<"$1"; }

OFF=() ON=()
for _ in 1 2 3; do
  OFF+=("$(cpu "$("$SESSION" "$MINUTES")")")
  ON+=("$(cpu "$("$SESSION" "$MINUTES" "$WORK/session.sfr")")")
done
off=$(median "${OFF[@]}") on=$(median "${ON[@]}")
bytes=$(stat -c %s "$WORK/session.sfr")
echo "A $MINUTES-minute session played headless (36,000 frames), processor time, median of three:"
echo "  without recording  $off s   (${OFF[*]})"
echo "  recording          $on s   (${ON[*]})"
awk -v a="$off" -v b="$on" 'BEGIN { printf "  recording costs    %+.1f %%\n", 100 * (b - a) / a }'
echo "  the recording: $bytes bytes, $((bytes / MINUTES)) bytes a minute of play"

# Instructions in play (run_game and below): the start, where the recording
# reads the datafiles once for their digest, is left out.
if command -v valgrind >/dev/null; then
  count() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect='run_game()' "$@" 2>&1 >/dev/null |
      awk '/Collected :/ {print $NF}'
  }
  plain=$(count "$SESSION" 1)
  recorded=$(count "$SESSION" 1 "$WORK/minute.sfr")
  echo "Instructions in play of a one-minute session (callgrind, run_game and below):"
  echo "  without recording  $plain"
  echo "  recording          $recorded"
  awk -v a="$plain" -v b="$recorded" 'BEGIN { printf "  recording costs    %+.2f %%\n", 100 * (b - a) / a }'
fi

WALL=() USED=()
for _ in 1 2 3; do
  start=$(date +%s.%N)
  before=$(awk '{print $14 + $15 + $16 + $17}' /proc/$$/stat)
  line=$("$BINARY" --verify "$WORK/session.sfr")
  end=$(date +%s.%N)
  WALL+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')")
  USED+=("$(awk -v b="$before" -v hz="$(getconf CLK_TCK)" '{printf "%.3f", ($14 + $15 + $16 + $17 - b) / hz}' /proc/$$/stat)")
done
wall=$(median "${WALL[@]}") used=$(median "${USED[@]}")
echo "swarmfire --verify of the $MINUTES-minute recording, median of three: $wall s wall (${WALL[*]}), $used s processor"
echo "  $line"
awk -v w="$wall" -v u="$used" -v m="$MINUTES" 'BEGIN {
  printf "  %.0f x real time; target at least 100 x (under 6 s): %s\n", m * 60 / w, w < m * 60 / 100 ? "met" : "NOT met"
  printf "  processor time; target at most 0.6 s: %s\n", u <= 0.6 ? "met" : "NOT met" }'

# Seeks, against the targets: any seek within 0.5 s in a 30-minute game
# and within 1 s in a 90-minute one (the slowest of those spread over it).
if [ -x "$SEEK" ]; then
  "$SESSION" 5 "$WORK/five.sfr" >/dev/null
  "$SESSION" 30 "$WORK/thirty.sfr" >/dev/null
  "$SESSION" 90 "$WORK/ninety.sfr" >/dev/null
  echo "Seeks while watching (seek_times, median of three):"
  for game in hazards levels twelve_levels; do
    "$STORED_RECORDING" "$STORED/$game.txt" "$WORK/$game.sfr"
  done
  "$SEEK" "$WORK/five.sfr" "$WORK/session.sfr" "$WORK/thirty.sfr" "$WORK/ninety.sfr" \
    --stand-in "$WORK/hazards.sfr" "$WORK/levels.sfr" "$WORK/twelve_levels.sfr"
fi
