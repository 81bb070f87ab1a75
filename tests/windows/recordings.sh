#!/usr/bin/env bash
# A game recorded on Linux in a real window with real keys (volleys, steps,
# Esc to the game over, the final results and the title's quit) verifies
# under wine with the line it has on Linux; played under wine with --play
# to its end, it leaves the same last picture as its replay on Linux.
#   recordings.sh LINUX_BUILD WINDOWS_BUILD
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
source "$(dirname "$0")/../../tools/wine_lib.sh"
windows_folders "$@"

start_desktop
open_game --record linux.sfr
start_play
for key in Alt_L Left Alt_L Right Right Alt_L; do tap $key 0.3; done
to_title_after_game_over
quit_from_title

cross_verify linux.sfr
SWARMFIRE_LAST_FRAME=$(win_path "$WORK/played.pcx") wine_game --play linux.sfr
wait_exit 90
[ "$EXIT_STATUS" -eq 0 ] || fail "--play under wine ended with status $EXIT_STATUS: $(cat "$WORK/game.err")"
cmp "$WORK/verified.pcx" "$WORK/played.pcx" || fail "--play under wine ended on another picture than on Linux"
echo "PASS: a Linux recording verified and played to the same last picture under wine"
