#!/usr/bin/env bash
# A short game recorded in the real window with real key events: a few
# volleys and steps, Esc ends it, the game over and the final results are
# left with a key, and the title's quit ends the program. Then: --verify
# prints "ok" with the score the final results showed (reported at exit
# with SWARMFIRE_FRAME_STATS); --play shows the recording in a window, with
# its sound, to the end, and its final results are the same picture on the
# same frame (SWARMFIRE_RESULTS_PICTURE), and Esc stops it early with status
# 0; the viewer's keys act on it: paused, the picture holds still, Right
# ends it about 10 s sooner, 8x in about an eighth of the time, F12 writes
# nothing; Return hands it to the player into a recording of its own that
# verifies; and the recording takes at most 1 MB for 30 minutes. Damaged
# recordings of every kind end with one line naming the file and why, and
# status 1. (Levels changing in a recording are pinned by the stored
# replays, which run the same code.)
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
build_folder "$@"

start_desktop
REC=$WORK/game.sfr

SWARMFIRE_FRAME_STATS=$WORK/live.stats SWARMFIRE_RESULTS_PICTURE=$WORK/live.pcx \
  open_game --record "$REC"
start_play
for key in Alt_L Left Alt_L Right Right Alt_L; do tap $key 0.3; done
to_title_after_game_over
quit_from_title

score=$(stat_of final_results_score "$WORK/live.stats")
frame=$(stat_of final_results_frame "$WORK/live.stats")
[ -n "$score" ] && [ -s "$WORK/live.pcx" ] || fail "the final results were not reported"
frames=$(stat_of frames "$WORK/live.stats")
bytes=$(stat -c %s "$REC")
per_minute=$((bytes * 3600 / frames))
echo "recorded $frames frames in $bytes bytes: $per_minute bytes a minute; final results score $score on frame $frame"
[ "$per_minute" -le $((1048576 / 30)) ] || fail "more than 1 MB for 30 minutes"

verifies "$REC: score $score, level 1, $frames frames, *"

# seconds_since START: the seconds since START (date +%s.%N), to a tenth.
seconds_since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }

# timed_play KEY...: --play from its start to its end, the keys tapped as
# its window opens; the seconds it took in PLAYED.
timed_play() {
  local start
  start=$(date +%s.%N)
  open_game --play "$REC"
  for key in "$@"; do tap "$key" 0.05; done
  game_ended 0 $((frames / 50 + 60)) "--play $*"
  PLAYED=$(seconds_since "$start")
}

# The recording shown in a window, at its pace and with its sound, to its end.
: >"$WORK/sound.raw"
SWARMFIRE_FRAME_STATS=$WORK/play.stats SWARMFIRE_RESULTS_PICTURE=$WORK/play.pcx timed_play
whole=$PLAYED
[ "$(stat_of final_results_frame "$WORK/play.stats")" = "$frame" ] &&
  [ "$(stat_of final_results_score "$WORK/play.stats")" = "$score" ] ||
  fail "--play showed the final results on frame $(stat_of final_results_frame "$WORK/play.stats")"
cmp -s "$WORK/live.pcx" "$WORK/play.pcx" || fail "--play showed other final results"
sound=$(pcm "$WORK/sound.raw")
[ "$(field peak "$sound" | cut -d. -f1)" -gt -40 ] 2>/dev/null || fail "--play was silent"
# Esc stops it, with status 0; before that, paused, the picture (and the
# mark on it) holds still, and F12 writes nothing.
open_game --play "$REC"
sleep 2
moving watched 0 0 320 240 || fail "--play does not move"
tap space
still held 1 || fail "the picture moved while paused"
tap F12
tap space
moving watched-again 0 0 320 240 || fail "--play did not go on after the pause"
tap Escape
game_ended 0
[ ! -e "$WORK/data/dump.pcx" ] || fail "F12 during --play wrote a screenshot"
# Right: 10 s less to watch, and the rest still shown (a loaded machine
# only makes the runs longer); 8x ("+" three times): about an eighth.
timed_play Right
echo "--play took $whole s; with Right $PLAYED s; the recording is $((frames / 60)) s"
awk -v w="$whole" -v p="$PLAYED" -v l="$frames" 'BEGIN { exit !(p < w - 7.5 && p > l / 60 - 12.5) }' ||
  fail "Right did not end the playback about 10 s sooner ($PLAYED s against $whole s)"
timed_play plus plus plus
echo "at 8x: $PLAYED s"
awk -v w="$whole" -v p="$PLAYED" 'BEGIN { exit !(p > w / 16 && p < w / 8 + 3) }' ||
  fail "8x did not take about an eighth of the time ($PLAYED s against $whole s)"

# Return as the watched level starts hands the game to the player, into a
# recording of its own: past the level's caption Esc ends the game, the
# title is quit, and it verifies, with figures of its own.
open_game --play "$REC" --record "$WORK/taken.sfr"
wait_until 30 lit_above hud 0 0 30 24 10 || fail "the watched level did not start"
tap Return
sleep 3.5
to_title_after_game_over
quit_from_title
REC=$WORK/taken.sfr verifies "$WORK/taken.sfr: score *, level 1, * frames, *" "the take-over's"

# Damaged recordings, each with one line naming it and why, and status 1.
damaged() {
  (cd "$WORK/data" && one_line "$1" 1 "$2" "$BINARY" --verify "$WORK/$1") | tee "$WORK/err"
  grep -qF "$WORK/$1: " "$WORK/err" || fail "$1: the line does not name the file"
}
# poke FILE AT HEX: the byte at AT of the file replaced.
poke() { printf "\\x$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
cut_at=$((bytes - 200))
head -c "$cut_at" "$REC" >"$WORK/cut.sfr"
cp "$REC" "$WORK/garbled.sfr"
byte=$(od -An -tu1 -j $((bytes / 2)) -N1 "$REC")
poke "$WORK/garbled.sfr" $((bytes / 2)) "$(printf %02x $((byte ^ 255)))"
printf 'not a game at all\n' >"$WORK/foreign.sfr"
cp "$REC" "$WORK/version.sfr"
poke "$WORK/version.sfr" 8 02
# Out of step: the game's first Alt (a change record: tag 1, a delta of one
# byte, key 119) recorded as Space (75), in a copy without its trailer.
at=$(od -An -v -tu1 -w1 -N "$cut_at" "$REC" | awk 'NR > 24 && p2 == 1 && $1 == 119 && !at {at = NR - 1} {p2 = p1; p1 = $1} END {print at}')
[ -n "$at" ] || fail "no recorded Alt found"
head -c "$cut_at" "$REC" >"$WORK/out-of-step.sfr"
poke "$WORK/out-of-step.sfr" "$at" 4b

damaged cut.sfr "cut short at frame"
damaged garbled.sfr "is damaged: its checksum does not match"
damaged foreign.sfr "is not a Swarmfire recording"
damaged version.sfr "is a recording of format version 2; this game reads version 1"
damaged out-of-step.sfr "out of step at frame"
grep -q "the game asked for key Alt where the recording has key Space" "$WORK/err" ||
  fail "out of step, but not at the changed key: $(cat "$WORK/err")"
# Other datafiles: a byte of the last sample of sound.dat changed.
cp -r "$WORK/data" "$WORK/other-data"
size=$(stat -c %s "$WORK/other-data/sound.dat")
poke "$WORK/other-data/sound.dat" $((size - 10)) 11
SWARMFIRE_DATA="$WORK/other-data" one_line "other datafiles" 1 \
  "$REC: was recorded with other datafiles than those in $WORK/other-data" "$BINARY" --verify "$REC"
echo "PASS: a real game recorded, verified and played back; damaged recordings refused"
