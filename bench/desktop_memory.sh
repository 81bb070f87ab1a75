#!/usr/bin/env bash
# Memory left behind at F11 under a desktop: pixmaps and their bytes in the
# X server (xrestop, the X-Resource extension), the game's and all, its
# resident memory and, under mutter or KWin, the compositor's, after the
# window opens and after every ten of SWITCHES (50) switches to fullscreen
# and back. One line of figures each time.
#   desktop_memory.sh BUILD_DIR xfwm4|openbox|mutter|kwin [BINARY]
# BINARY: another build of the game, to hold against (the data stays the
# build folder's).
USAGE="BUILD_DIR xfwm4|openbox|mutter|kwin [BINARY]"
source "$(dirname "$0")/../tools/xvfb_lib.sh"
source "$(dirname "$0")/../tools/desktop_lib.sh"
build_folder "${1:-}" "memory_${2:-}"
[ -z "${3:-}" ] || BINARY=$3
SWITCHES=${SWITCHES:-50}

start_desktop_of "$2"
use_file_sound
copy_data "$DATA"
open_game
# The X server: Xvfb, or the compositor's XWayland.
server=${COMPOSITOR_PID:+$(awk -v p="$COMPOSITOR_PID" '$4 == p && $2 == "(Xwayland)" {print $1}' /proc/[0-9]*/stat 2>/dev/null)}
server=${server:-$XVFB_PID}
rss_mb() { awk '/^VmRSS/ {printf "%.0f", $2 / 1024}' "/proc/$1/status"; }
# figures WHEN: the pixmaps (count, KB) of the game's connection (the one
# whose windows carry its pid) and of every client, the server's and the
# compositor's resident MB.
figures() {
  local pixmaps
  pixmaps=$(xrestop -b -m 1 2>/dev/null | awk -v pid="$GAME_PID" '
    / - .*\( PID:/ {game = $0 ~ ("PID: *" pid " ")}
    /pixmaps *:/ {n += $3; if (game) gn += $3}
    /pixmap bytes *:/ {b += $4; if (game) gb += $4}
    END {printf "game %d pixmaps %d KB, all %d pixmaps %d KB", gn, gb / 1024, n, b / 1024}')
  echo "$1: $pixmaps; X server $(rss_mb "$server") MB${COMPOSITOR_PID:+; $DESKTOP $(rss_mb "$COMPOSITOR_PID") MB}"
}
figures "opened"
for switch in $(seq "$SWITCHES"); do
  for size in "1920 1080" "960 720"; do
    tap F11
    wait_until 5 placed $size || fail "switch $switch: not $size; the focus on $(xdotool getwindowfocus), the game's $WINDOW"
  done
  [ $((switch % 10)) -ne 0 ] || figures "after $switch switches"
done
close_window
