#!/usr/bin/env bash
# The real binary where it stops before any window. Its command line is
# answered without a display, -h and -V as --help and --version, which
# fail with one line when their output cannot be written. Without a reachable X display it says so in
# one line, status 1. It checks its eight datafiles before it needs a
# display: each one deleted or replaced by another datafile, and sound.dat
# cut, stops it with one line that names the file, and status 1. A stray file named like a datafile in the working directory does
# not take over from the build's own data folder, and where no folder holds
# all eight the line names the folders looked in, each with what it lacks.
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
build_folder "$@"
cd "$WORK"

# run STATUS ARGS...: the binary without a display; stdout in out, stderr in err.
run() {
  local status=0
  env -u DISPLAY "$BINARY" "${@:2}" >out 2>err || status=$?
  [ "$status" -eq "$1" ] || fail "swarmfire ${*:2}: status $status, not $1 ($(cat err))"
}
run 0 --help
for word in --scale --window --fullscreen --no-focus-pause --help --version F11 Gamepads; do
  grep -q -- "$word" out || fail "--help does not mention $word"
done
[ ! -s err ] || fail "--help wrote to stderr: $(cat err)"
run 0 --version
[ "$(cat out)" = "swarmfire 1.0" ] || fail "--version printed: $(cat out)"
run 0 -V
[ "$(cat out)" = "swarmfire 1.0" ] || fail "-V printed: $(cat out)"
run 0 -h
[ "$(head -n1 out)" = "Usage: swarmfire [OPTION]..." ] || fail "-h printed: $(head -n1 out)"
# Output that cannot be written: status 1 and why.
one_line "--version into a full disk" 1 "swarmfire: cannot write the version: No space left on device" \
  sh -c '"$0" --version 2>&1 >/dev/full' "$BINARY"
one_line "--help with standard output closed" 1 "swarmfire: cannot write the help: Bad file descriptor" \
  sh -c '"$0" --help 2>&1 >&-' "$BINARY"
for bad in --bogus "--scale 0" "--scale 9" "--scale 2x" --scale -x --ver "--verify x.sfr --fullscreen" \
  "--record a.sfr --verify b.sfr" --play= --verify extra; do
  # shellcheck disable=SC2086
  run 2 $bad
  [ "$(wc -l <err)" -eq 1 ] && grep -q -- "--help" err && [ ! -s out ] ||
    fail "swarmfire $bad: stderr was: $(cat err), stdout: $(cat out)"
done

copy_data "$DATA"
# expect WHAT TEXT: the game in the copy of the data stops with one line
# "swarmfire: TEXT...", status 1.
expect() {
  (cd data && one_line "$1" 1 "swarmfire: $2" env -u DISPLAY SWARMFIRE_DATA="$WORK/data" "$BINARY")
}
expect "all intact" "no X display"
garbage() { yes "$1" | head -c 4096 || true; }
(cd data && one_line "no X server" 1 'swarmfire: cannot open the X display ":9876"' env DISPLAY=:9876 "$BINARY")
mkdir stray
garbage 'some other program' >stray/sound.dat
(cd stray && one_line "a stray sound.dat" 1 "swarmfire: no X display" env -u DISPLAY -u SWARMFIRE_DATA "$BINARY")
# A binary with no data beside it, run where there is none either.
mkdir bin empty
cp "$BINARY" bin/swarmfire
configured=$(strings "$BINARY" | grep -m1 '/share/games/swarmfire$' || true)
if [ -n "$configured" ] && [ -f "$configured/enddat.dat" ]; then
  echo "skipped (no folder): the configured folder $configured holds datafiles"
else
  (cd empty && one_line "no folder" 1 "swarmfire: no folder holds all eight datafiles readable (looked in \
$WORK/empty (sound.dat: No such file or directory), $WORK/bin/data (No such file or directory), \
$WORK/share/games/swarmfire (No such file or directory), " env -u DISPLAY -u SWARMFIRE_DATA "$WORK/bin/swarmfire")
fi
# The structure check once, on a cut file (what it says of every other
# damage is DatafileStructure's); each file missing and holding another
# datafile (sound.dat, or title.dat): the catalogue's check.
head -c 1000 "$DATA/sound.dat" >data/sound.dat
expect "sound.dat cut" "sound.dat: cannot be read (truncated at byte 1000"
cp "$DATA/sound.dat" data/sound.dat
for f in sound.dat title.dat bonus.dat level1.dat level4.dat level7.dat level10.dat enddat.dat; do
  rm data/$f
  expect "$f deleted" "$f: missing"
  other=sound.dat
  [ $f != sound.dat ] || other=title.dat
  cp "$DATA/$other" data/$f
  expect "$f holding $other" "$f: object "
  cp "$DATA/$f" data/$f
done
echo "PASS: command line, no display, and the datafile check of the real binary"
