#!/usr/bin/env bash
# The real game checks its eight datafiles before it needs a display: each
# one deleted, truncated or replaced by garbage stops it with one line that
# names the file, and status 1. With all eight intact it gets past the check
# (and, with no display, stops on that instead). A stray file named like a
# datafile in the working directory does not take over from the build's own
# data folder, and where no folder holds all eight the line names the
# folders looked in, each with what it lacks.
set -uo pipefail
[ $# -ge 2 ] || { echo "usage: $0 BINARY DATA_DIR" >&2; exit 2; }
BINARY=$1 DATA=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FILES="sound.dat title.dat bonus.dat level1.dat level4.dat level7.dat level10.dat enddat.dat"

fresh_copy() {
  rm -rf "$WORK/data"
  mkdir "$WORK/data"
  local file
  for file in $FILES; do cp "$DATA/$file" "$WORK/data/"; done
}

# Runs the game in the copy (or, with a third argument, in that folder with
# no data folder named) without a display; checks status 1 and one line that
# starts with "swarmfire: " and the expected text.
expect() {
  local what=$1 expected=$2 err status
  if [ $# -ge 3 ]; then
    err=$(cd "$3" && env -u DISPLAY -u SWARMFIRE_DATA "$BINARY" 2>&1 >/dev/null)
  else
    err=$(cd "$WORK/data" && env -u DISPLAY SWARMFIRE_DATA="$WORK/data" "$BINARY" 2>&1 >/dev/null)
  fi
  status=$?
  [ "$status" -eq 1 ] || { echo "FAIL ($what): status $status, output: $err"; exit 1; }
  [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || { echo "FAIL ($what): not one line: $err"; exit 1; }
  case $err in "swarmfire: $expected"*) ;; *) echo "FAIL ($what): unexpected message: $err"; exit 1 ;; esac
  echo "ok ($what): $err"
}

fresh_copy
expect "all intact" "no X display"
mkdir "$WORK/stray"
yes 'some other program' | head -c 4096 >"$WORK/stray/sound.dat"
expect "a stray sound.dat in the working directory" "no X display" "$WORK/stray"
# A binary with no data beside it, run where there is none either.
mkdir -p "$WORK/bin" "$WORK/empty"
cp "$BINARY" "$WORK/bin/swarmfire"
configured=$(strings "$BINARY" | grep -m1 '/share/games/swarmfire$' || true)
if [ -n "$configured" ] && [ -f "$configured/enddat.dat" ]; then
  echo "skipped (no folder): the configured folder $configured holds datafiles"
else
  BINARY=$WORK/bin/swarmfire expect "no folder" "no folder holds all eight datafiles readable (looked in \
$WORK/empty (sound.dat: No such file or directory), $WORK/bin/data (No such file or directory), \
$WORK/share/games/swarmfire (No such file or directory), " "$WORK/empty"
fi
for f in $FILES; do
  fresh_copy
  rm "$WORK/data/$f"
  expect "$f deleted" "$f: missing"

  fresh_copy
  size=$(stat -c %s "$DATA/$f")
  head -c $((size / 2)) "$DATA/$f" >"$WORK/data/$f"
  expect "$f cut in half" "$f: cannot be read (truncated at byte $((size / 2))"

  fresh_copy
  head -c 37 "$DATA/$f" >"$WORK/data/$f"
  expect "$f cut in the first object" "$f: cannot be read (truncated at byte 37"

  fresh_copy
  yes 'not a datafile at all' | head -c 4096 >"$WORK/data/$f"
  expect "$f garbage" "$f: cannot be read (not a datafile)"

  fresh_copy
  : >"$WORK/data/$f"
  expect "$f empty" "$f: cannot be read (empty file)"
done
echo PASS
