#!/usr/bin/env bash
# The title for real: its tune is heard through the sound driver, the menu
# moves and selects with real keys, the options screen toggles and Esc comes
# back, and quit ends the program with status 0 after the closing zoom.
[ $# -ge 5 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR PCM_PROBE" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/window_title PCM_PROBE=$5
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"

start_xvfb
use_file_sound
copy_data "$DATA"
start_game "$BINARY" "$WORK/data"
wait_window
sleep 2
size=$(stat -c %s "$WORK/sound.raw")
sleep 2
sound=$("$PCM_PROBE" "$WORK/sound.raw" "$size")
echo "title tune over 2 s: $sound"
rms=$(field rms "$sound")
peak=$(field peak "$sound")
awk -v r="$rms" -v p="$peak" 'BEGIN { exit !(r > -45 && r < -3 && p <= 0) }' ||
  fail "the title tune is silent or out of range ($sound)"

title=$(shoot_window title)
tap Down
tap Alt_L 0.1        # the options screen
sleep 1.5
options=$(shoot_window options)
echo "title: $title"
echo "options: $options"
title_mean=$(field mean "$title")
options_mean=$(field mean "$options")
awk -v t="$title_mean" -v o="$options_mean" 'BEGIN { exit !(o < t) }' ||
  fail "the options screen is not darker than the title"

shoot_area marks-before 180 0 140 60 >/dev/null
tap Alt_L 0.1        # switch the first row
sleep 0.3
toggled=$(field differ "$(shoot_area marks-after 180 0 140 60 --diff "$WORK/marks-before.xwd")")
echo "first row's mark: $toggled pixels changed"
[ "$toggled" -gt 10 ] || fail "Alt did not switch the first option"

tap Escape
sleep 1.5
back=$(shoot_window title-again)
back_mean=$(field mean "$back")
echo "back on the title: $back"
awk -v t="$back_mean" -v o="$options_mean" 'BEGIN { exit !(t > o) }' ||
  fail "Esc did not bring back the title"

tap Down
tap Alt_L 0.3        # quit
wait_exit 20
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
echo "PASS: tune heard, menu and options worked, quit with status 0"
