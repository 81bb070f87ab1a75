#!/usr/bin/env bash
# Each script here, run by hand without its arguments, prints its usage and
# stops with status 2 before it touches anything (without the work folder a
# script would clear and fill a folder at the filesystem root).
set -uo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
checked=0
for script in "$HERE"/*.sh; do
  case ${script##*/} in xvfb_lib.sh | fault_lib.sh | usage_check.sh) continue ;; esac
  err=$(bash "$script" 2>&1 >/dev/null </dev/null)
  status=$?
  [ "$status" -eq 2 ] || { echo "FAIL (${script##*/}): status $status: $err"; exit 1; }
  case $err in "usage: "*) ;; *) echo "FAIL (${script##*/}): no usage line: $err"; exit 1 ;; esac
  [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || { echo "FAIL (${script##*/}): not one line: $err"; exit 1; }
  checked=$((checked + 1))
done
echo "PASS: $checked scripts refuse to run without their arguments"
