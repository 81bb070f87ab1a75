# Shared steps of the tests of the real binary: the build's game, data and
# tools, an Xvfb server of our own, the game in it with sound going into a
# file, real key events and screenshots. A test script sources it, then
# calls build_folder "$@"; then start_xvfb, start_game, ... ; cleanup runs on
# exit. (The benchmarks set BINARY, DATA, XWD_PROBE and WORK themselves.)

set -euo pipefail

[ -z "${WORK:-}" ] || mkdir -p "$WORK"
XVFB_PID=
GAME_PID=
WINDOW=

# build_folder BUILD_DIR [NAME]: the game, its data and the tools of the
# build folder, and the work folder BUILD_DIR/real-tests/NAME (the script's
# name) made afresh. Without it, the usage line (USAGE) and status 2,
# before anything is touched.
build_folder() {
  [ -n "${1:-}" ] && [ -d "$1" ] || { echo "usage: $0 ${USAGE:-BUILD_DIR}" >&2; exit 2; }
  BUILD=$(cd "$1" && pwd)
  BINARY=$BUILD/swarmfire DATA=$BUILD/data XWD_PROBE=$BUILD/xwd_probe
  X_CLIENT=$BUILD/x_client
  CARD=$BUILD/tools/libemulated_card.so FAKE_PAD=$BUILD/tests/fake_pad.so
  WORK=$BUILD/real-tests/${2:-$(basename "$0" .sh)}
  rm -rf "$WORK"
  mkdir -p "$WORK"
}

cleanup() {
  [ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

# fail MESSAGE: the test fails; with what the X server said, for a server
# that died under the test.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "$XVFB_PID" ] && ! kill -0 "$XVFB_PID" 2>/dev/null; then
    echo "(the X server has exited; its log:)" >&2
    tail -n 20 "$WORK/xvfb.log" >&2 || true
  fi
  exit 1
}

# Xvfb picks a free display itself and tells us which (-displayfd), so tests
# can run side by side. Its frame buffer is a window dump file in $WORK. The
# screen is a desktop's, 1920 x 1080 unless SCREEN_SIZE says otherwise; with
# no window manager the game's window lies where it asks, centred. A server whose last
# client leaves resets itself and refuses connections for a moment, which a
# desktop with its other clients never does: the server is kept from it
# (-noreset), so a test may start the game again at once, unless XVFB_RESET=1.
# Its Present extension fakes a display refreshing REFRESH_HZ times a
# second (60 unless set; Xvfb's own is 1); SCREEN_DEPTH is 24 unless set.
SCREEN_SIZE=${SCREEN_SIZE:-1920x1080}
REFRESH_HZ=${REFRESH_HZ:-60}
start_xvfb() {
  mkdir -p "$WORK/fb"
  # Two servers starting at the same moment may pick the same display; the
  # loser stops at once, so try again.
  for _ in 1 2 3 4 5; do
    rm -f "$WORK/displayfd"
    Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE}x${SCREEN_DEPTH:-24}" -fbdir "$WORK/fb" -br -nolisten tcp \
      $([ "${XVFB_RESET:-0}" = 1 ] || echo -noreset) -fakescreenfps "$REFRESH_HZ" \
      3>"$WORK/displayfd" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    wait_until 10 xvfb_settled || true
    if [ -s "$WORK/displayfd" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$(head -n1 "$WORK/displayfd")"
      return 0
    fi
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    sleep "0.$((RANDOM % 9 + 1))"
  done
  fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
}
xvfb_settled() { [ -s "$WORK/displayfd" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; }

# stop_xvfb [SIGNAL]: the X server stopped (by SIGTERM unless named) and
# waited for; restart_xvfb: stopped and started again (SCREEN_SIZE,
# REFRESH_HZ and SCREEN_DEPTH as they are then).
stop_xvfb() {
  kill "-${1:-TERM}" "$XVFB_PID"
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
restart_xvfb() {
  stop_xvfb
  start_xvfb
}

# start_desktop: an X server, sound into a file and a copy of the datafiles.
start_desktop() {
  start_xvfb
  use_file_sound
  copy_data "$DATA"
}

# sound_device PCM...: ALSA's default device, for the game and its children.
sound_device() {
  printf '%s\n' "$@" 'ctl.!default { type hw card 0 }' >"$WORK/asound.conf"
  export ALSA_CONFIG_PATH="$WORK/asound.conf"
}

# ALSA's default device becomes a file sink: the real sound driver runs and
# what it plays lands in $WORK/sound.raw (16-bit unsigned, as Allegro opens it).
use_file_sound() {
  sound_device 'pcm.null { type null }' \
    "pcm.!default { type file slave.pcm \"null\" file \"$WORK/sound.raw\" format \"raw\" }"
}

# use_emulated_card LIBRARY NAME [SETTING...]: ALSA's default device becomes
# the sound card emulated on the monotonic clock (tools/emulated_card.cpp),
# with the settings given ("underrun_after MS"): what the game plays goes to
# $WORK/NAME.raw, when it leaves the buffer and the periods asked for to
# $WORK/NAME.log.
use_emulated_card() {
  rm -f "$WORK/$2.raw" "$WORK/$2.log"
  sound_device "pcm_type.emulated_card { lib \"$1\" }" \
    "pcm.!default { type emulated_card stream \"$WORK/$2.raw\" log \"$WORK/$2.log\" ${*:3} }"
}

# start_game BINARY DATA_DIR [OPTION...]: runs the game from its data folder.
start_game() {
  (cd "$2" && exec "$1" "${@:3}") >"$WORK/game.out" 2>"$WORK/game.err" &
  GAME_PID=$!
}

# open_game [OPTION...]: the game on the copy of the datafiles, its window
# open.
open_game() {
  start_game "$BINARY" "$WORK/data" "$@"
  wait_window
}

# window_on_show: whether the game's window is on show, mapped and named:
# at its scale, or in fullscreen the size of the whole screen (FULLSCREEN 1).
# F11 switches between them. Where it lies and where in it the 320 x 240
# picture is shown: PIC_X, PIC_Y (screen pixels) and SCALE, the largest
# whole scale that fits, centred (a window of 320s x 240s, or fullscreen).
window_on_show() {
  WINDOW=$(xdotool search --onlyvisible --name '^Swarmfire$' 2>/dev/null | head -n1 || true)
  [ -n "$WINDOW" ] || return 1
  read -r WIN_X WIN_Y WIN_W WIN_H < <(xwininfo -id "$WINDOW" |
    awk '/Absolute upper-left [XY]|Width:|Height:/ {printf "%s ", $NF} END {print ""}')
  SCALE=$((WIN_W / 320 < WIN_H / 240 ? WIN_W / 320 : WIN_H / 240))
  PIC_X=$((WIN_X + (WIN_W - 320 * SCALE) / 2))
  PIC_Y=$((WIN_Y + (WIN_H - 240 * SCALE) / 2))
  FULLSCREEN=0
  [ "${WIN_W}x$WIN_H" = "$SCREEN_SIZE" ] && FULLSCREEN=1
  # The pointer inside the window: keys go there (no window manager), and
  # the library hides it there. (Not under XWayland without a pointer,
  # which a warp crashes: NO_POINTER=1.)
  [ "${NO_POINTER:-0}" = 1 ] || xdotool mousemove --window "$WINDOW" 20 20
}

find_window() { wait_until 5 window_on_show || fail "no Swarmfire window on show"; }

# placed W H [X Y]: whether the game's window is on show, W x H (at (X, Y)
# when given); at_place SECONDS W H [X Y]: it comes to be within the seconds.
placed() { window_on_show && [ "${WIN_W}x$WIN_H+$WIN_X+$WIN_Y" = "${1}x$2+${3:-$WIN_X}+${4:-$WIN_Y}" ]; }
at_place() {
  wait_until "$1" placed "${@:2}" || fail "window ${WIN_W:-}x${WIN_H:-} at (${WIN_X:-}, ${WIN_Y:-}), not ${2}x$3${4:+ at ($4, $5)}"
}

# wait_window: the game's window on show, within 15 seconds, unless the
# game ends first.
wait_window() {
  wait_until 15 shown_or_ended || fail "no Swarmfire window on show"
  alive && sleep 0.5 && return 0
  wait_exit 1
  fail "the game ended (status $EXIT_STATUS) before its window opened: $(cat "$WORK/game.err")"
}
shown_or_ended() { window_on_show || ! alive; }

# shoot_window NAME [probe options]: the game's whole picture, measured at
# its own 320 x 240 size (one pixel of each scaled block).
shoot_window() { shoot_area "$1" 0 0 320 240 "${@:2}"; }

# shoot_area NAME X Y W H [probe options]: a rectangle of the game's picture,
# in its own 320 x 240 coordinates.
shoot_area() {
  shoot "$1" $((PIC_X + $2 * SCALE)) $((PIC_Y + $3 * SCALE)) $(($4 * SCALE)) $(($5 * SCALE)) \
    --step "$SCALE" "${@:6}"
}

# field NAME LINE: one figure of the probe's line ("differ", "cx", ...).
field() { awk -v k="$1" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}' <<<"$2"; }

# shoot NAME [x y w h]: saves the screen (or a part) as $WORK/NAME.png and
# prints the probe's figures.
shoot() {
  cp "$WORK/fb/Xvfb_screen0" "$WORK/$1.xwd"
  "$XWD_PROBE" "$WORK/$1.xwd" "${@:2}" --png "$WORK/$1.png"
}

nonblack() { field nonblack "$(shoot_window "$1")"; }

# title_lit: the title on show is lit, not (nearly) black.
title_lit() { [ "$(nonblack title)" -gt 500 ] || fail "the title screen is (nearly) black"; }

# still NAME [SECONDS]: whether the picture, shot as NAME, stays the same
# over the seconds (half a second unless given).
still() {
  shoot_window "$1-before" >/dev/null
  sleep "${2:-0.5}"
  [ "$(field differ "$(shoot_window "$1" --diff "$WORK/$1-before.xwd")")" -eq 0 ]
}

# like_last_frame SHOT X Y SCALE: the shot's pixels at (X, Y) are the picture
# the game wrote at exit (SWARMFIRE_LAST_FRAME) scaled by SCALE.
like_last_frame() {
  local out
  out=$("$XWD_PROBE" "$WORK/$1.xwd" "$2" "$3" $((320 * $4)) $((240 * $4)) --scaled-from "$SWARMFIRE_LAST_FRAME" --step "$4")
  [ "$(field mismatch "$out")" -eq 0 ] || fail "$1: $(field mismatch "$out") pixels unlike the last picture scaled by $4"
}

# wait_until SECONDS COMMAND...: polls the command until it succeeds.
wait_until() {
  for _ in $(seq $(($1 * 5))); do
    "${@:2}" && return 0
    sleep 0.2
  done
  return 1
}

# lit_above NAME X Y W H COUNT: whether more than COUNT pixels of the area
# are bright.
lit_above() { [ "$(field bright "$(shoot_area "$1" "$2" "$3" "$4" "$5" --bright 300)")" -gt "$6" ]; }

# moving NAME X Y W H: whether the area changes within a third of a second.
moving() {
  shoot_area "$1-a" "$2" "$3" "$4" "$5" >/dev/null
  sleep 0.33
  [ "$(field differ "$(shoot_area "$1-b" "$2" "$3" "$4" "$5" --diff "$WORK/$1-a.xwd")")" -gt 50 ]
}

# title_back NAME: whether the title is on the screen again: a lit picture
# that holds still (a zooming results picture can be as lit, but moves).
title_back() {
  lit_above "$1" 0 0 320 240 5000 && ! moving "$1" 0 0 320 240
}

# dark NAME: whether the screen is (nearly) black: at 60 frames a second a
# picture spun away and faded out stays black for well under a second, so
# the last frames of the spin count too.
dark() { [ "$(nonblack "$1")" -lt 1000 ]; }

# copy_data DIR: a private copy of the datafiles to run the game in.
copy_data() {
  rm -rf "$WORK/data"
  mkdir -p "$WORK/data"
  cp "$1"/*.dat "$WORK/data/"
}

# tap KEY [seconds]: holds a key long enough for a polling game to see it.
tap() { xdotool keydown "$1" sleep "${2:-0.15}" keyup "$1" sleep 0.15; }

# options_off ROW...: from a fresh title, the options screen's switches in
# those rows (0 glow to 4 shot collisions, in order) switched off (the
# screen darker than the title; each switch shown in its row), then back on
# the title with its start item selected. music_off: MUSIC's (row 2).
OPTION_ROW_TOPS=(5 45 100 140 180)
options_off() {
  local title row=0
  title=$(field mean "$(shoot_window options-title)")
  tap Down
  tap Alt_L 0.1
  wait_until 10 darker_than "$title" || fail "the options screen did not open"
  sleep 0.5 # past its fade-in
  for wanted in "$@"; do
    while [ "$row" -lt "$wanted" ]; do
      tap Down
      row=$((row + 1))
    done
    SWITCH_TOP=${OPTION_ROW_TOPS[$row]}
    shoot_area option-a 180 "$SWITCH_TOP" 140 45 >/dev/null
    tap Alt_L 0.1
    wait_until 3 switched || fail "Alt did not switch row $row on the options screen"
  done
  tap Escape
  wait_until 10 title_back options-title-again || fail "the title did not come back from the options"
  tap Up
}
music_off() { options_off 2; }

# switched: whether the switch's row has changed: the stars alone change about ten
# pixels of it, a switched row hundreds.
switched() {
  [ "$(field differ "$(shoot_area option-b 180 "$SWITCH_TOP" 140 45 --diff "$WORK/option-a.xwd")")" -gt 100 ]
}

# darker_than MEAN: whether the picture is lit, but less than MEAN.
darker_than() {
  local shot
  shot=$(shoot_window music-options)
  [ "$(field nonblack "$shot")" -gt 5000 ] && awk -v m="$(field mean "$shot")" -v t="$1" 'BEGIN { exit !(m < t) }'
}

# wait_exit SECONDS: waits for the game to end; its status in EXIT_STATUS.
EXIT_STATUS=
wait_exit() {
  wait_until "$1" ended || fail "the game still runs after ${1}s"
  EXIT_STATUS=0
  wait "$GAME_PID" || EXIT_STATUS=$?
  GAME_PID=
}

# game_ended STATUS [SECONDS [WHAT]]: the game has ended within the seconds
# (20 unless given), with that status.
game_ended() {
  wait_exit "${2:-20}"
  [ "$EXIT_STATUS" -eq "$1" ] || fail "${3:+($3) }exit status $EXIT_STATUS, not $1: $(tail -n 5 "$WORK/game.err")"
}

# quit_from_title: the third menu item of a fresh title; status 0 expected.
quit_from_title() {
  tap Down
  tap Down
  tap Alt_L 0.3
  game_ended 0
}

# close_window: the window's close button, as a window manager presses it
# (F11 first in fullscreen, where there is none); status 0 expected.
close_window() {
  if [ "${FULLSCREEN:-0}" -eq 1 ]; then
    tap F11
    sleep 1
    find_window
  fi
  "$X_CLIENT" close "$WINDOW" || fail "could not press the close button"
  game_ended 0
}

# start_play [COMMAND...]: from a fresh title (the start item selected) the
# command (Alt by default) starts play; past the "LEVEL 1" caption.
start_play() {
  [ $# -gt 0 ] || set -- tap Alt_L 0.1
  "$@"
  wait_until 30 lit_above hud 0 0 30 24 10 || fail "the level did not start ($*)"
  sleep 3.5
}

# verifies PATTERN [WHAT]: --verify of the recording $REC ends with status 0
# and one line, in VERIFIED, that matches the glob PATTERN and says "ok".
verifies() {
  VERIFIED=$(cd "$WORK/data" && "$BINARY" --verify "$REC" 2>&1) || fail "${2:-} --verify: $VERIFIED"
  [[ $VERIFIED == $1": ok" ]] || fail "${2:-} --verify does not say '$1: ok': $VERIFIED"
}

# stat_of NAME FILE: a figure of the game's SWARMFIRE_FRAME_STATS file.
stat_of() { awk -v k="$1" '$1 == k {print $2}' "$2"; }

# alive: whether the game still runs; ended: whether it has ended.
alive() { kill -0 "$GAME_PID" 2>/dev/null; }
ended() { ! alive; }

# stop_game: the game killed at once and reaped (a benchmark's run ends).
stop_game() {
  [ -z "$GAME_PID" ] || kill -9 "$GAME_PID" 2>/dev/null || true
  wait "$GAME_PID" 2>/dev/null || true
  GAME_PID=
}

# to_title_after_game_over [END NEXT]: from play, END (Esc) to the game over
# (its caption shown), NEXT (Space) through its spin and the final results
# back to the title. END and NEXT are commands (the keys are tapped).
to_title_after_game_over() {
  local end=${1:-tap Escape} next=${2:-tap space}
  $end
  wait_until 10 lit_above game-over 40 100 240 40 50 || fail "no game-over caption ($end)"
  sleep 0.5
  $next
  wait_until 20 dark faded || fail "the game-over sequence did not fade out ($next)"
  wait_until 20 lit_above rating 0 175 320 20 50 || fail "no final results"
  $next
  wait_until 20 title_back title-again || fail "the title did not come back ($next)"
  sleep 0.5
}

# no_crash_output: stderr holds nothing but the lines given (the sound
# library's own complaints included: the game keeps them off).
no_crash_output() {
  local rest
  rest=$(cat "$WORK/game.err")
  for allowed in "$@"; do rest=$(grep -vF -- "$allowed" <<<"$rest" || true); done
  [ -z "$rest" ] || fail "unexpected output: $rest"
}

# one_line WHAT STATUS TEXT COMMAND...: the command ends with STATUS and
# writes one line holding TEXT (stdout and stderr together).
one_line() {
  local what=$1 want=$2 text=$3 out status=0
  out=$("${@:4}" 2>&1) || status=$?
  [ "$status" -eq "$want" ] && [ "$(wc -l <<<"$out")" -eq 1 ] && [[ $out == *"$text"* ]] ||
    fail "($what) status $status, not $want, or not one line with '$text': $out"
  echo "ok ($what): $out"
}

# start_bus ADDRESS_PATH: a D-Bus daemon of our own on that socket (its pid in
# BUS_PID), ready.
start_bus() {
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$1" >"$1.log" 2>&1 &
  BUS_PID=$!
  wait_until 10 test -S "$1" || fail "the bus did not start: $(cat "$1.log")"
}

# take_focus_away: another client's window (xmessage, OTHER_PID) takes the
# keyboard focus; give_focus_back ends it.
take_focus_away() {
  xmessage -geometry +1700+900 "focus taken" 2>/dev/null &
  OTHER_PID=$!
  timeout 5 xdotool search --sync --onlyvisible --name '^xmessage$' windowfocus >/dev/null 2>&1 ||
    fail "no second window to take the focus"
}
give_focus_back() {
  kill "$OTHER_PID" 2>/dev/null || true
  wait "$OTHER_PID" 2>/dev/null || true
  xdotool windowfocus "$WINDOW"
}

# The game's lines of play (SWARMFIRE_PLAY_FEED=$FEED, frame/play_feed.cpp):
# how many, the ship's place, and the volleys fired so far.
lines() { wc -l <"$FEED"; }
ship_x() { tail -n1 "$FEED" | awk '{print $5 + 0}'; }
fired() { tail -n1 "$FEED" | awk '{print $NF + 0}'; }
# playing: whether play goes on; paused NAME: whether it stands still, its
# picture too (shot as NAME), with its PAUSE caption at the bottom right.
playing() {
  local n
  n=$(lines)
  sleep 0.3
  [ "$(lines)" -gt "$n" ]
}
paused() {
  local n
  n=$(lines)
  still "$1" && [ "$(lines)" -eq "$n" ] && [ "$(field nonblack "$(shoot_area "$1-caption" 250 228 70 12)")" -gt 20 ]
}
# fires COMMAND...: the command (a key or a button pressed) fires a volley;
# tried again a few times, as a ship that was hit cannot fire while it
# explodes.
fires() {
  local before
  for _ in 1 2 3 4 5; do
    before=$(fired)
    "$@"
    wait_until 1 fired_since "$before" && return 0
  done
  return 1
}
fired_since() { [ "$(fired)" -gt "$1" ]; }
# steers SIGN COMMAND...: while the command (a key or an axis held down)
# runs, the ship moves 20 pixels that way within ten seconds, however
# loaded the machine (the command is given DOWN or UP).
steers() {
  local from status=0
  from=$(ship_x)
  "${@:2}" down
  wait_until 10 moved_by "$from" "$1" || status=1
  "${@:2}" up
  return $status
}
moved_by() { [ $((($(ship_x) - $1) * $2)) -ge 20 ]; }

# pcm FILE [FROM [TO]]: "rms R peak P" in dB below full scale (-inf for
# silence) of the raw 16-bit sound, unsigned as Allegro opens the device
# (PCM_SIGNED=1: signed, as PipeWire's sink opens it), between those bytes
# of the file (by default the whole file).
pcm() {
  local from=$((${2:-0} / 2 * 2)) to=${3:-$(stat -c %s "$1")} type=-tu2 zero=32768
  [ "${PCM_SIGNED:-0}" = 1 ] && type=-td2 zero=0
  od -An -v -w2 "$type" --endian=little -j "$from" -N $((to - from)) "$1" |
    awk -v z=$zero '{ v = ($1 - z) / 32768; s += v * v; if (v * v > p) p = v * v }
      END { d = 10 / log(10); printf "rms %.1f peak %.1f\n", d * log(s / (NR + !NR)), d * log(p) }'
}
