#!/usr/bin/env bash
# The real game in a real window, played with real key events, its sound
# going into a card emulated on the monotonic clock: the window opens on a
# lit title whose tune is heard; the game plays through its own driver, on
# a thread of its own at real-time priority, in its own small periods, and
# starts the stream with the card's buffer full (no underrun in its first
# second). The options screen opens darker, MUSIC is switched off there and
# Esc comes back. In a game the ship steers both ways, and a shot fired
# after silence is heard; Esc runs the game over and the final results back
# to the title, and the title's quit item ends the program with status 0.
# A ~/.allegrorc that sets the period size wins over the game's; without
# the right to real-time priority the sound thread gets it from RealtimeKit
# (a stand-in on a private bus); a card that runs dry gets a period more,
# and the stream starts full again. Through a private PipeWire, as Debian's
# desktops run it, the game's stream appears in PipeWire, and the title's
# tune and a shot are heard at its sink. The game writes no file beside
# itself or in $HOME.
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
source "$(dirname "$0")/../../tools/pipewire_lib.sh"
build_folder "$@"
FAKE_REALTIMEKIT=$BUILD/fake_realtimekit
trap 'stop_pipewire; cleanup' EXIT

# The binary alone in a folder of its own, and an empty home.
mkdir -p "$WORK/bin" "$WORK/home"
cp "$BINARY" "$WORK/bin/"
BINARY=$WORK/bin/swarmfire
export HOME=$WORK/home
# periods NAME: "SIZE x COUNT" as the card was asked for them.
periods() { awk '$1 == "params" {print $5 " x " $6; exit}' "$WORK/$1.log"; }
# written: what the game left beside itself, in the folder it ran in or in HOME.
written() { (cd "$WORK" && find bin home data -mindepth 1 ! -name '*.dat' ! -name swarmfire ! -name .allegrorc); }
# sound_policy: the scheduling policy of the game's sound thread (0 normal,
# 1 FIFO, 2 round robin).
sound_policy() {
  local task
  for task in /proc/"$GAME_PID"/task/*; do
    [ "$(cat "$task/comm")" = sound ] && awk '{print $41}' "$task/stat"
  done
}
# heard RAW FROM [TO]: whether the sound between those bytes is heard
# (above -45 dB), quiet RAW FROM [TO]: whether it is silent (below -60 dB).
heard() { awk -v r="$(field rms "$(pcm "$@")")" 'BEGIN { exit !(r + 0 > -45) }'; }
quiet() { awk -v r="$(field rms "$(pcm "$@")")" 'BEGIN { exit !(r + 0 < -60) }'; }
# last_quarter_quiet RAW: whether the last quarter second played is silent
# (QUARTER bytes).
last_quarter_quiet() {
  local size
  size=$(stat -c %s "$1")
  quiet "$1" $((size - QUARTER)) "$size"
}
# shot_heard RAW: from play with the music off, a shot fired after silence
# is heard.
shot_heard() {
  wait_until 10 last_quarter_quiet "$1" || fail "the music played on"
  local before
  before=$(stat -c %s "$1")
  fires tap Alt_L 0.1 || fail "Alt did not fire"
  sleep 0.5
  echo "a quarter second before the shot: $(pcm "$1" $((before - QUARTER)) "$before"); after: $(pcm "$1" "$before")"
  quiet "$1" $((before - QUARTER)) "$before" && heard "$1" "$before" || fail "the shot was not heard after silence"
}
key() { xdotool "key$2" "$1"; }

start_xvfb
use_emulated_card "$CARD" ours
FEED=$WORK/feed.txt
QUARTER=44100 # bytes: 44.1 kHz, 16-bit stereo
copy_data "$DATA"
SWARMFIRE_SOUND_LOG=$WORK/ours.sound SWARMFIRE_PLAY_FEED=$FEED open_game
sleep 1
title_lit
wait_until 10 test -s "$WORK/ours.log" || fail "the game did not open the sound card"
[ "$(periods ours)" = "128 x 7" ] && grep -qx "wake 384 0" "$WORK/ours.sound" || fail "not the game's periods: $(cat "$WORK/ours.log")"
grep -qx background /proc/"$GAME_PID"/task/*/comm || fail "the game's background thread is not running"
[ "$(id -u)" -ne 0 ] || [ "$(sound_policy)" = 1 ] ||
  fail "the sound thread does not run at real-time priority (policy $(sound_policy)): $(cat "$WORK/ours.sound")"
size=$(stat -c %s "$WORK/ours.raw")
sleep 2
sound=$(pcm "$WORK/ours.raw" "$size")
echo "title tune over 2 s: $sound"
awk -v r="$(field rms "$sound")" -v p="$(field peak "$sound")" 'BEGIN { exit !(r > -45 && r < -3 && p <= 0) }' ||
  fail "the title tune is silent or out of range ($sound)"
# Started full: its whole buffer queued, and no underrun in its first second.
awk '$1 == "start" { if (!n++) { start = $2; full = $4 == 896 } } $1 == "underrun" && $2 < start + 1e9 { dry = 1 }
  END { exit !(n && full && !dry) }' "$WORK/ours.log" || fail "the stream did not start full: $(head -n 5 "$WORK/ours.log")"

music_off
start_play
steers 1 key Right || fail "Right did not steer the ship right"
steers -1 key Left || fail "Left did not steer the ship left"
shot_heard "$WORK/ours.raw"
to_title_after_game_over
quit_from_title
grep -q '^underrun' "$WORK/ours.log" && echo "note: the card underran $(grep -c '^underrun' "$WORK/ours.log") times"
[ -z "$(written)" ] || fail "files written beside the game, in its folder or in HOME: $(written)"

# The player's period size; the right to real-time priority taken away
# (as root, by dropping the capability), RealtimeKit's stand-in grants it;
# the card runs dry once, 1.5 s after the stream started.
printf '[sound]\nalsa_fragsize = 1024\n' >"$HOME/.allegrorc"
use_emulated_card "$CARD" user underrun_after 1500
start_bus "$WORK/system_bus"
"$FAKE_REALTIMEKIT" "unix:path=$WORK/system_bus" >"$WORK/realtimekit.log" 2>&1 &
REALTIMEKIT_PID=$!
trap 'kill $REALTIMEKIT_PID $BUS_PID 2>/dev/null || true; stop_pipewire; cleanup' EXIT
unprivileged=()
[ "$(id -u)" -ne 0 ] || unprivileged=(setpriv --bounding-set=-sys_nice --inh-caps=-sys_nice --)
(cd "$WORK/data" && DBUS_SYSTEM_BUS_ADDRESS=unix:path=$WORK/system_bus SWARMFIRE_SOUND_LOG=$WORK/user.sound \
  exec "${unprivileged[@]}" "$BINARY") >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
wait_window
wait_until 10 test -s "$WORK/user.log" || fail "the game did not open the sound card"
[ "$(periods user)" = "1024 x 3" ] || fail "the player's period size did not win: $(cat "$WORK/user.log")"
wait_until 5 grep -q '^realtime' "$WORK/user.sound" || fail "the sound thread did not start"
if [ "$(id -u)" -eq 0 ]; then
  grep -qx 'realtime realtimekit' "$WORK/user.sound" && [ "$(sound_policy)" = 2 ] ||
    fail "the sound thread did not get its priority from RealtimeKit (policy $(sound_policy)):" \
      "$(cat "$WORK/user.sound" "$WORK/realtimekit.log")"
  echo "RealtimeKit: $(cat "$WORK/realtimekit.log")"
fi
wait_until 10 grep -q '^underrun' "$WORK/user.sound" || fail "the card did not run dry"
sleep 0.5
grep -q '^underrun [0-9]* 4$' "$WORK/user.sound" &&
  awk '$1 == "params" { p = $5 " x " $6 } $1 == "start" { started = $4 } END { exit !(p == "1024 x 4" && started == 4096) }' \
    "$WORK/user.log" || fail "no period more, or not started full, after the underrun: $(cat "$WORK/user.sound" "$WORK/user.log")"
close_window
kill "$REALTIMEKIT_PID" "$BUS_PID" 2>/dev/null || true
[ -z "$(written)" ] || fail "files written beside the game, in its folder or in HOME: $(written)"
rm "$HOME/.allegrorc"

# Through PipeWire: game -> pipewire-alsa -> PipeWire's graph -> the card,
# which PipeWire's sink opens at 48 kHz, 16-bit signed.
start_pipewire "$CARD" pipewire
QUARTER=48000 PCM_SIGNED=1
rm -f "$FEED"
SWARMFIRE_PLAY_FEED=$FEED open_game
wait_until 10 test -n "$(game_stream latency)" || fail "the game's stream did not appear in PipeWire"
echo "the game's stream in PipeWire: latency $(game_stream latency), the graph's quantum $(graph_quantum)"
size=$(stat -c %s "$WORK/pipewire.raw")
sleep 2
heard "$WORK/pipewire.raw" "$size" || fail "the title's tune was not heard through PipeWire: $(pcm "$WORK/pipewire.raw" "$size")"
music_off
start_play
shot_heard "$WORK/pipewire.raw"
close_window
stop_pipewire
echo "PASS: title, tune, options, a game played, heard and ended, quit; the stream started full;" \
  "the player's periods win; real-time priority; heard through PipeWire"
