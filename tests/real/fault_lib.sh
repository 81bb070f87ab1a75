# Steps shared by the fault tests of the real binary; source it after
# xvfb_lib.sh.

# start_in_window DATA_DIR: the game ($BINARY) on a copy of the datafiles,
# its window open and a second gone by.
start_in_window() {
  copy_data "$1"
  start_game "$BINARY" "$WORK/data"
  wait_window
  sleep 1
}

# quit_from_title: the third menu item of a fresh title; status 0 expected.
quit_from_title() {
  tap Down
  tap Down
  tap Alt_L 0.3
  wait_exit 20
  [ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
}

# start_play: from a fresh title (the start item selected) into play, past
# the "LEVEL 1" caption.
start_play() {
  tap Alt_L 0.1
  wait_until 30 lit_above hud 0 0 30 24 10 || fail "the level did not start"
  sleep 3.5
}

# alive: whether the game still runs.
alive() { kill -0 "$GAME_PID" 2>/dev/null; }

# end_game_and_quit: from play, Esc to the game over, a key through its
# spin and the final results, then quit from the title; status 0 expected.
end_game_and_quit() {
  tap Escape
  sleep 1.5
  tap space
  wait_until 20 dark faded || fail "the game-over sequence did not fade out"
  wait_until 20 lit_above rating 0 175 320 20 50 || fail "no final results"
  tap space
  wait_until 20 title_back title-again || fail "the title did not come back"
  sleep 0.5
  quit_from_title
}

# no_crash_output: stderr holds nothing but the sound library's complaints
# and the lines given.
no_crash_output() {
  local rest
  rest=$(grep -v '^ALSA lib ' "$WORK/game.err" || true)
  for allowed in "$@"; do rest=$(grep -vF -- "$allowed" <<<"$rest" || true); done
  [ -z "$rest" ] || fail "unexpected output: $rest"
}

# now_ms: a clock in milliseconds.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# fail MESSAGE: as xvfb_lib's, with what the X server said, for a server
# that died under the test.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "$XVFB_PID" ] && ! kill -0 "$XVFB_PID" 2>/dev/null; then
    echo "(the X server has exited; its log:)" >&2
    tail -n 20 "$WORK/xvfb.log" >&2 || true
  fi
  exit 1
}
