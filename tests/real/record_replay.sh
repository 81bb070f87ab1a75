#!/usr/bin/env bash
# A short game recorded in the real window with real key events: a few
# volleys and steps, Esc ends it, the game over and the final results are
# left with a key, and the title's quit ends the program. Then: --verify
# prints "ok" with the score the final results showed (reported at exit
# with SWARMFIRE_FRAME_STATS); --play shows the recording in a window, with
# its sound, to the end, and its final results are the same picture on the
# same frame (SWARMFIRE_RESULTS_PICTURE), and Esc stops it early with status
# 0; and the recording takes at most 1 MB for 30 minutes. Damaged
# recordings of every kind end with one line naming the file and why, and
# status 1. (Levels changing in a recording are pinned by the stored
# replays, which run the same code.)
source "$(dirname "$0")/xvfb_lib.sh"
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

# The recording shown in a window, at its pace and with its sound, to its end.
: >"$WORK/sound.raw"
SWARMFIRE_FRAME_STATS=$WORK/play.stats SWARMFIRE_RESULTS_PICTURE=$WORK/play.pcx \
  open_game --play "$REC"
wait_exit $((frames / 50 + 60))
[ "$EXIT_STATUS" -eq 0 ] || fail "--play ended with status $EXIT_STATUS: $(cat "$WORK/game.err")"
[ "$(stat_of final_results_frame "$WORK/play.stats")" = "$frame" ] &&
  [ "$(stat_of final_results_score "$WORK/play.stats")" = "$score" ] ||
  fail "--play showed the final results on frame $(stat_of final_results_frame "$WORK/play.stats")"
cmp -s "$WORK/live.pcx" "$WORK/play.pcx" || fail "--play showed other final results"
sound=$(pcm "$WORK/sound.raw")
[ "$(field peak "$sound" | cut -d. -f1)" -gt -40 ] 2>/dev/null || fail "--play was silent"
# Esc stops it, with status 0.
open_game --play "$REC"
sleep 2
tap Escape
game_ended 0

# Damaged recordings, each with one line naming it and why, and status 1.
damaged() {
  (cd "$WORK/data" && one_line "$1" 1 "$2" "$BINARY" --verify "$WORK/$1") | tee "$WORK/err"
  grep -qF "$WORK/$1: " "$WORK/err" || fail "$1: the line does not name the file"
}
cut_at=$((bytes - 200))
head -c "$cut_at" "$REC" >"$WORK/cut.sfr"
cp "$REC" "$WORK/garbled.sfr"
byte=$(od -An -tu1 -j $((bytes / 2)) -N1 "$REC")
printf "\\x$(printf %02x $((byte ^ 255)))" | dd of="$WORK/garbled.sfr" bs=1 seek=$((bytes / 2)) conv=notrunc status=none
printf 'not a game at all\n' >"$WORK/foreign.sfr"
cp "$REC" "$WORK/version.sfr"
printf '\x02' | dd of="$WORK/version.sfr" bs=1 seek=8 conv=notrunc status=none
# Out of step: the game's first Alt (a change record: tag 1, a delta of one
# byte, key 119) recorded as Space (75), in a copy without its trailer.
at=$(od -An -v -tu1 -w1 -N "$cut_at" "$REC" | awk 'NR > 24 && p2 == 1 && $1 == 119 && !at {at = NR - 1} {p2 = p1; p1 = $1} END {print at}')
[ -n "$at" ] || fail "no recorded Alt found"
head -c "$cut_at" "$REC" >"$WORK/out-of-step.sfr"
printf '\x4b' | dd of="$WORK/out-of-step.sfr" bs=1 seek="$at" conv=notrunc status=none

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
printf '\x11' | dd of="$WORK/other-data/sound.dat" bs=1 seek=$((size - 10)) conv=notrunc status=none
SWARMFIRE_DATA="$WORK/other-data" one_line "other datafiles" 1 \
  "$REC: was recorded with other datafiles than those in $WORK/other-data" "$BINARY" --verify "$REC"
echo "PASS: a real game recorded, verified and played back; damaged recordings refused"
