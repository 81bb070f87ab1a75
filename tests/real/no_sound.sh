#!/usr/bin/env bash
# No sound device at all: ALSA's default device is a sound card that does
# not exist, so every attempt to open it fails. The game still opens its
# title, plays (steering, firing, hits and their samples), ends the game and
# quits with status 0, in silence.
[ $# -ge 4 ] && [ -n "$4" ] || { echo "usage: $0 BINARY DATA_DIR XWD_PROBE WORK_DIR" >&2; exit 2; }
BINARY=$1 DATA=$2 XWD_PROBE=$3 WORK=$4/no_sound
rm -rf "$WORK"
source "$(dirname "$0")/xvfb_lib.sh"
source "$(dirname "$0")/fault_lib.sh"

start_xvfb
cat >"$WORK/asound.conf" <<CONF
pcm.!default { type hw card 99 device 0 }
ctl.!default { type hw card 99 }
CONF
export ALSA_CONFIG_PATH="$WORK/asound.conf"
start_in_window "$DATA"
lit=$(nonblack title)
echo "title without sound: $lit lit pixels"
[ "$lit" -gt 500 ] || fail "the title screen is (nearly) black"

start_play
for _ in 1 2 3 4 5 6; do
  tap Alt_L 0.1
  xdotool keydown Left; sleep 0.3; xdotool keyup Left
  tap Alt_L 0.1
  xdotool keydown Right; sleep 0.3; xdotool keyup Right
done
alive || fail "the game ended in play: $(cat "$WORK/game.err")"
moving play 0 0 320 240 || fail "play stands still"
echo "played for 8 s in silence"
end_game_and_quit
no_crash_output
echo "PASS: no sound device, the game plays silently and quits with status 0"
