#!/usr/bin/env bash
# Sixty seconds of random key events - presses and releases of game keys,
# letters, function keys and modifiers, several held at once - over the
# title, the options screen, and play with its pause (P is in the flood).
# Afterwards the game still runs, and the window's close button ends it
# with status 0. Each phase leaves out the keys by which a player would
# legitimately leave the program or the phase: the fire keys on the title
# (Alt, Space and Left Ctrl could choose quit), Esc on the options screen,
# Esc and Down in play (Down could bring the title's quit item up after a
# lost game). F11 stays in: the game switches between the window and
# fullscreen under the flood. Play begins with Ctrl+Alt+End, the library's
# abort, and F12.
# All on a bare system: no sound device at all (ALSA's default device is a
# sound card that does not exist, so every attempt to open it fails) and a
# working directory the game may not write to. Its title is lit, it plays
# in silence, and F12 neither crashes nor stops it: the screenshot lands in
# $HOME instead. Root may write anywhere, so as root the game runs as the
# unprivileged user nobody, from copies that user can read.
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
build_folder "$@"

KEYS=(Left Right Up Down Alt_L Alt_R Control_L Control_R Shift_L Shift_R Escape p P F1 F2 F3 F4
  F5 F6 F7 F8 F9 F10 F11 F12 space Return Tab BackSpace Delete Insert Home End Page_Up
  Page_Down KP_Enter KP_5 a b c d e f g h i j k l m n o q r s t u v w x y z 0 1 2 3 4 5 6 7 8 9
  minus equal comma period slash Menu Super_L)
RANDOM=1977  # the same flood every run
HELD=()

# flood SECONDS EXCLUDED...: random presses and releases, at most four keys
# held at a time, about 40 events a second, a batch of one second per call
# of xdotool; all keys are released at the end.
flood() {
  local seconds=$1
  shift
  local excluded=" $* " keys=() k
  for k in "${KEYS[@]}"; do [[ $excluded == *" $k "* ]] || keys+=("$k"); done
  local end=$((SECONDS + seconds))
  while [ "$SECONDS" -lt "$end" ]; do
    local batch=()
    for _ in $(seq 40); do
      if [ ${#HELD[@]} -gt 0 ] && { [ ${#HELD[@]} -ge 4 ] || [ $((RANDOM % 2)) -eq 0 ]; }; then
        local i=$((RANDOM % ${#HELD[@]}))
        batch+=(keyup "${HELD[$i]}")
        HELD=("${HELD[@]:0:$i}" "${HELD[@]:$((i + 1))}")
      else
        k=${keys[$((RANDOM % ${#keys[@]}))]}
        batch+=(keydown "$k")
        HELD+=("$k")
      fi
      batch+=(sleep "0.0$((RANDOM % 4 + 1))")
    done
    xdotool "${batch[@]}" 2>/dev/null
    alive || fail "the game ended during the flood: $(tail -n 3 "$WORK/game.err")"
  done
  for k in "${HELD[@]}"; do xdotool keyup "$k"; done
  HELD=()
  xdotool keyup Alt_L keyup Control_L keyup Escape keyup Down
}

GAME_DIR=$(mktemp -d /tmp/swarmfire-bare-XXXXXX)
trap 'cleanup; rm -rf "$GAME_DIR"' EXIT
mkdir "$GAME_DIR/data" "$GAME_DIR/home" "$GAME_DIR/readonly"
cp "$BINARY" "$GAME_DIR/swarmfire"
cp "$DATA"/*.dat "$GAME_DIR/data/"
printf '%s\n' 'pcm.!default { type hw card 99 device 0 }' 'ctl.!default { type hw card 99 }' \
  >"$GAME_DIR/asound.conf"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  chown nobody:nogroup "$GAME_DIR/home"
fi
chmod -R a+rX "$GAME_DIR"
chmod 555 "$GAME_DIR/readonly"
"${run_as[@]}" touch "$GAME_DIR/readonly/probe" 2>/dev/null && fail "the read-only folder can be written"

start_xvfb
unset XDG_PICTURES_DIR XDG_CONFIG_HOME
(cd "$GAME_DIR/readonly" && HOME="$GAME_DIR/home" SWARMFIRE_DATA="$GAME_DIR/data" \
  ALSA_CONFIG_PATH="$GAME_DIR/asound.conf" exec "${run_as[@]}" "$GAME_DIR/swarmfire") \
  >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
wait_window
sleep 1
title_lit
# The title's bonus screen comes at its 1000th frame (16.7 s at 60 frames a
# second) and would take the next key: the title's flood stays well short.
flood 8 Alt_L Alt_R space Control_L
find_window
sleep 0.5
tap Up; tap Up; tap Down
tap Alt_L 0.1        # the options screen
sleep 1.5
flood 12 Escape
find_window
tap Escape
sleep 1.5
tap Up
start_play
xdotool keydown Control_L keydown Alt_L key End keyup Alt_L keyup Control_L
sleep 0.5
alive || fail "Ctrl+Alt+End ended the game"
tap F12
pcx="$GAME_DIR/home/dump.pcx"
wait_until 5 test -s "$pcx" || fail "no dump.pcx in \$HOME"
# manufacturer 10, 8 bits a pixel, window 0..319 x 0..239, one plane
read -r -a h < <(od -An -w72 -tu1 -N72 "$pcx")
[ "${h[0]} ${h[3]} $((h[8] + 256 * h[9])) $((h[10] + 256 * h[11])) ${h[65]}" = "10 8 319 239 1" ] ||
  fail "dump.pcx is not an 8-bit 320x240 PCX: ${h[*]}"
moving play 0 0 320 240 || fail "play stopped after F12"
flood 34 Escape Down
sleep 1
find_window
close_window
# Instead of ALSA's own lines, the game's one.
grep -qx 'swarmfire: no sound (ALSA: .*); playing silently' "$WORK/game.err" ||
  fail "no line saying the game plays without sound: $(cat "$WORK/game.err")"
no_crash_output "swarmfire: no sound (ALSA: "
[ -z "$(ls -A "$GAME_DIR/readonly")" ] || fail "something was written into the read-only folder"
echo "PASS: 60 s of random keys without a sound device, F12 into \$HOME, still running, and closed with status 0"
