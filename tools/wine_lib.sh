#!/usr/bin/env bash
# Windows programs under wine64, in a prefix of the build's own (made by
# `wine_lib.sh PREFIX --make`): no Mono or Gecko to install, no crash
# debugger to wait on, wine's chatter off, and its GDI renderer, as 2D
# drawing through its Direct3D one is five times slower.
#   wine_lib.sh PREFIX PROGRAM.exe [ARG...]   runs it (ctest's emulator)
# The scripts of the real exe source it after tools/xvfb_lib.sh and
# call windows_folders "$@": the Linux build's game, data and tools, the
# Windows build's exe, and a fresh work folder with a copy of its prefix.
WINE=/usr/lib/wine/wine64

wine_in() {
  export WINEPREFIX=$(realpath -m "$1") WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
}

make_prefix() {
  rm -rf "$WINEPREFIX"
  timeout 120 "$WINE" wineboot -i >/dev/null 2>&1
  timeout 60 "$WINE" reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f >/dev/null
  timeout 60 /usr/lib/wine/wineserver64 -w
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  wine_in "$1"
  [ "$2" = --make ] && { make_prefix; exit; }
  exec "$WINE" "${@:2}"
fi

# windows_folders LINUX_BUILD WINDOWS_BUILD: BINARY, DATA, XWD_PROBE and
# X_CLIENT of the Linux build, EXE of the Windows one, and WORK
# (WINDOWS_BUILD/real-tests/NAME, the script's name) made afresh, with a
# copy of the build's prefix (wine's processes of one prefix share one X
# display) and a HOME whose ALSA default device records into
# $WORK/sound.wav (wine plays floats, which the file plugin would store
# under an integer header). Wine's server goes at exit.
windows_folders() {
  [ -d "${1:-}" ] && [ -d "${2:-}" ] || { echo "usage: $0 LINUX_BUILD WINDOWS_BUILD" >&2; exit 2; }
  BUILD=$(cd "$1" && pwd)
  BINARY=$BUILD/swarmfire DATA=$BUILD/data XWD_PROBE=$BUILD/xwd_probe X_CLIENT=$BUILD/x_client
  EXE=$(cd "$2" && pwd)/swarmfire.exe
  WORK=$(dirname "$EXE")/real-tests/$(basename "$0" .sh)
  rm -rf "$WORK"
  mkdir -p "$WORK/home"
  cp -a "$(dirname "$EXE")/wine" "$WORK/wine"
  wine_in "$WORK/wine"
  trap 'cleanup; /usr/lib/wine/wineserver64 -k 2>/dev/null || true' EXIT
  export HOME=$WORK/home
  printf '%s\n' 'pcm.!default { type plug slave { pcm "rec"; format S16_LE } }' 'pcm.nul { type null }' \
    "pcm.rec { type file slave.pcm \"nul\" file \"$WORK/sound.wav\" format \"wav\" }" >"$HOME/.asoundrc"
}

# wine_game [OPTION...]: the exe on the copy of the datafiles, its window
# open; wine_run [OPTION...]: the exe there to its end, its standard
# output in RAN_OUT, its standard error (with wine's own messages, such as
# a "wine client error" at exit) in RAN_ERR, its status in RAN;
# wine_command PROGRAM [ARG...]: any Windows program so, from the working
# directory.
wine_game() {
  start_game "$WINE" "$WORK/data" "$EXE" "$@"
  wait_window
}
wine_command() {
  local err
  err=$(mktemp)
  RAN=0
  RAN_OUT=$(timeout 120 "$WINE" "$@" 2>"$err" | tr -d '\r') || RAN=$?
  RAN_ERR=$(tr -d '\r' <"$err")
  rm -f "$err"
}
wine_run() {
  pushd "$WORK/data" >/dev/null
  wine_command "$EXE" "$@"
  popd >/dev/null
}

# cross_verify RECORDING: --verify of the recording (in the data folder)
# says "ok" on Linux (its last picture in $WORK/verified.pcx) and, in the
# same line, under wine; both lines are shown.
cross_verify() {
  local linux
  linux=$(cd "$WORK/data" && SWARMFIRE_LAST_FRAME=$WORK/verified.pcx "$BINARY" --verify "$1" 2>&1) ||
    fail "--verify on Linux: $linux"
  wine_run --verify "$1"
  echo "verified on Linux: $linux"
  echo "verified by wine:  $RAN_OUT"
  [[ $linux == "$1: "*": ok" && $RAN -eq 0 && $RAN_OUT == "$linux" ]] ||
    fail "the verifications differ (status $RAN; wine's standard error: $RAN_ERR)"
}

# win_path PATH: the path as the exe sees it.
win_path() { echo "Z:$1"; }
