#!/usr/bin/env bash
# The command line of the real binary, answered before any display or
# datafile is looked at: run without DISPLAY from an empty folder.
# Usage: command_line.sh BINARY WORK_DIR
set -euo pipefail
[ $# -ge 2 ] && [ -n "$2" ] || { echo "usage: $0 BINARY WORK_DIR" >&2; exit 2; }
BINARY=$1 WORK=$2/command_line
rm -rf "$WORK"
mkdir -p "$WORK"
cd "$WORK"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# run WANTED_STATUS ARGS...: the binary's status, stdout in out, stderr in err.
run() {
  local want=$1 status=0
  shift
  env -u DISPLAY "$BINARY" "$@" >out 2>err || status=$?
  [ "$status" -eq "$want" ] || fail "swarmfire $*: status $status, not $want ($(cat err))"
}

run 0 --help
for word in --scale --window --fullscreen --no-focus-pause --help --version F11 Gamepads; do
  grep -q -- "$word" out || fail "--help does not mention $word"
done
[ ! -s err ] || fail "--help wrote to stderr: $(cat err)"
run 0 --version
[ "$(cat out)" = "swarmfire 1.0" ] || fail "--version printed: $(cat out)"
for bad in "--bogus" "--scale 0" "--scale 9" "--scale" "-x" "--ver" "--verify x.sfr --fullscreen"; do
  # shellcheck disable=SC2086
  run 2 $bad
  [ "$(wc -l <err)" -eq 1 ] && grep -q -- "--help" err || fail "swarmfire $bad: stderr was: $(cat err)"
  [ ! -s out ] || fail "swarmfire $bad wrote to stdout"
  echo "swarmfire $bad -> $(cat err)"
done
echo "PASS: --help, --version and bad options answered without a display"
