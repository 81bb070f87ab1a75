#!/usr/bin/env bash
# The real binary on damaged datafiles, one file at a time, beyond the cases
# of datafile_check.sh: cut at more points (inside the magic, after it,
# after the header, one byte short), random bytes for the whole file and
# behind an intact header, random bytes over a stretch inside, and an
# object of the wrong kind at a listed position. Each run ends with one
# line starting "swarmfire: " and status 1, never a crash; where the damage
# is in the structure, the line names the file.
set -uo pipefail
[ $# -ge 3 ] || { echo "usage: $0 BINARY DATA_DIR WRONG_OBJECT" >&2; exit 2; }
BINARY=$1 DATA=$2 WRONG_OBJECT=$3
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FILES="sound.dat title.dat bonus.dat level1.dat level4.dat level7.dat level10.dat enddat.dat"
# A listed position of each file whose object the tool swaps for another kind.
declare -A LISTED=([sound.dat]=19 [title.dat]=23 [bonus.dat]=51 [level1.dat]=81
  [level4.dat]=78 [level7.dat]=25 [level10.dat]=75 [enddat.dat]=0)
RANDOM=1234  # the same bytes every run

fresh_copy() {
  rm -rf "$WORK/data"
  mkdir "$WORK/data"
  local file
  for file in $FILES; do cp "$DATA/$file" "$WORK/data/"; done
}

# random_bytes N FILE: N pseudo-random bytes into FILE.
random_bytes() {
  local escapes="" hex
  for ((k = 0; k < $1; k++)); do
    printf -v hex '\\x%02x' $((RANDOM % 256))
    escapes+=$hex
  done
  printf '%b' "$escapes" >"$2"
}
random_bytes 2048 "$WORK/random-2048"
random_bytes 64 "$WORK/random-64"

# expect WHAT PREFIX: one line "swarmfire: PREFIX...", status 1.
expect() {
  local what=$1 prefix=$2 err status
  err=$(cd "$WORK/data" && env -u DISPLAY -u SWARMFIRE_DATA "$BINARY" 2>&1 >/dev/null)
  status=$?
  [ "$status" -eq 1 ] || { echo "FAIL ($what): status $status, output: $err"; exit 1; }
  [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || { echo "FAIL ($what): not one line: $err"; exit 1; }
  case $err in "swarmfire: $prefix"*) ;; *) echo "FAIL ($what): unexpected message: $err"; exit 1 ;; esac
  echo "ok ($what): $err"
}

for f in $FILES; do
  size=$(stat -c %s "$DATA/$f")
  for cut in 3 8 12 $((size - 1)); do
    fresh_copy
    head -c "$cut" "$DATA/$f" >"$WORK/data/$f"
    expect "$f cut to $cut bytes" "$f: cannot be read ("
  done

  fresh_copy
  cp "$WORK/random-2048" "$WORK/data/$f"
  expect "$f random bytes" "$f: cannot be read ("

  fresh_copy
  cat <(head -c 12 "$DATA/$f") "$WORK/random-2048" >"$WORK/data/$f"
  expect "$f random bytes behind the header" "$f: cannot be read ("

  # Random bytes over a stretch inside may land in pixels and pass: then
  # the run stops on the missing display instead.
  fresh_copy
  cp "$DATA/$f" "$WORK/data/$f"
  dd if="$WORK/random-64" of="$WORK/data/$f" bs=1 seek=$((size / 3)) conv=notrunc status=none
  expect "$f random stretch inside" ""

  fresh_copy
  "$WRONG_OBJECT" "$f" "${LISTED[$f]}" "$WORK/data/$f" || { echo "FAIL: wrong_object $f"; exit 1; }
  expect "$f wrong kind at ${LISTED[$f]}" "$f: object ${LISTED[$f]} should be a"
done
echo PASS
