#!/usr/bin/env bash
# Without a reachable X display the game says so in one line and exits 1.
set -uo pipefail
[ $# -ge 1 ] || { echo "usage: $0 BINARY" >&2; exit 2; }
BINARY=$1
check() {
  local what=$1
  shift
  local err status
  err=$("$@" 2>&1 >/dev/null)
  status=$?
  [ "$status" -eq 1 ] || { echo "FAIL ($what): status $status, output: $err"; exit 1; }
  [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || { echo "FAIL ($what): not one line: $err"; exit 1; }
  case $err in swarmfire:*) ;; *) echo "FAIL ($what): unexpected message: $err"; exit 1 ;; esac
  echo "ok ($what): $err"
}
check "DISPLAY unset" env -u DISPLAY "$BINARY"
check "no server" env DISPLAY=:9876 "$BINARY"
echo PASS
