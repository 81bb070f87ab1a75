#!/usr/bin/env bash
# A working directory the game may not write to: F12 in play neither crashes
# nor stops the game; the screenshot lands in $HOME instead, and the game
# plays on and quits with status 0. Root may write anywhere, so as root the
# game runs as the unprivileged user nobody, from copies that user can read.
[ $# -ge 4 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/readonly_dir
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"
source "$(dirname "$0")/fault_lib.sh"

GAME_DIR=$(mktemp -d /tmp/swarmfire-readonly-XXXXXX)
trap 'cleanup; rm -rf "$GAME_DIR"' EXIT
mkdir "$GAME_DIR/data" "$GAME_DIR/home" "$GAME_DIR/readonly"
cp "$BINARY" "$GAME_DIR/swarmfire"
cp "$DATA"/*.dat "$GAME_DIR/data/"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  chown nobody:nogroup "$GAME_DIR/home"
fi
chmod -R a+rX "$GAME_DIR"
chmod 555 "$GAME_DIR/readonly"
"${run_as[@]}" touch "$GAME_DIR/readonly/probe" 2>/dev/null &&
  fail "the read-only folder can be written"

start_xvfb
unset XDG_PICTURES_DIR XDG_CONFIG_HOME
(cd "$GAME_DIR/readonly" &&
  HOME="$GAME_DIR/home" SWARMFIRE_DATA="$GAME_DIR/data" exec "${run_as[@]}" "$GAME_DIR/swarmfire") \
  >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
wait_window
sleep 1
start_play
tap F12
tap F12
sleep 0.5
alive || fail "the game ended after F12: $(cat "$WORK/game.err")"
moving play 0 0 320 240 || fail "play stopped after F12"
[ -z "$(ls -A "$GAME_DIR/readonly")" ] || fail "something was written into the read-only folder"
pcx="$GAME_DIR/home/dump.pcx"
[ -s "$pcx" ] || fail "no dump.pcx in \$HOME"
read -r -a h <<<"$(od -An -tu1 -N4 "$pcx" | tr -s ' \n' ' ')"
[ "${h[0]}" -eq 10 ] && [ "${h[3]}" -eq 8 ] || fail "\$HOME/dump.pcx is not an 8-bit PCX"
echo "F12 in a read-only folder: the game goes on, dump.pcx in \$HOME ($(stat -c %s "$pcx") bytes)"
end_game_and_quit
no_crash_output
echo "PASS: a read-only working directory does not stop the game"
