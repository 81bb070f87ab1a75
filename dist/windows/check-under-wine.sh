#!/bin/bash
# Tries what make windows made as a Windows player would, under wine, in a
# fresh wine prefix on an X server of its own (make windows-check):
#
#   dist/windows/check-under-wine.sh WINDOWS_BUILD [LINUX_GAME]
#
# The zip, unpacked: its game, started in its folder as a double-click
# starts it, plays a short game recorded from key events (F12 saving a
# screenshot there) and ends with status 0 on the window's close message
# (taskkill's WM_CLOSE, as the close button sends it); started from
# another folder, it says its version and verifies the recording with the
# datafiles beside it. The installer, silently for the current user and
# then for all users: the files, the Start-menu shortcut and the Add/Remove
# Programs key are where they belong; the installed game says its version,
# verifies the recording and opens its window; the uninstaller, silently,
# leaves none of it. With LINUX_GAME (a Linux build's swarmfire, its
# datafiles in data/ beside it), the recording made under wine verifies on
# Linux and one made on Linux with the same keys verifies under wine.
# One line a check, then "N passed, N failed"; status 1 when any failed.
# KEEP=1 keeps the prefix and the logs (in /tmp/swarmfire-wine-check.*).
set -uo pipefail

[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 WINDOWS_BUILD [LINUX_GAME]" >&2; exit 2; }
BUILD=$(realpath "$1")
LINUX_GAME=${2:+$(realpath "$2")}
ZIP=$(ls "$BUILD"/swarmfire-*-win64.zip 2>/dev/null | head -n1)
SETUP=$(ls "$BUILD"/swarmfire-*-win64-setup.exe 2>/dev/null | head -n1)
[ -f "$ZIP" ] && [ -f "$SETUP" ] || { echo "$0: no zip and installer in $BUILD (make windows)" >&2; exit 2; }
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINE" ] || { echo "$0: no $WINE: scripts/install-deps.sh windows-check installs it" >&2; exit 2; }
FILES="LICENSE.txt README.txt bonus.dat enddat.dat level1.dat level10.dat level4.dat level7.dat sound.dat
swarmfire.exe title.dat"

WORK=$(mktemp -d /tmp/swarmfire-wine-check.XXXXXX)
mkdir -p "$WORK/home" "$WORK/x"
export HOME=$WORK/home WINEPREFIX=$WORK/prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installers (they would ask), no crash debugger (it would
# wait), no menu entries made on this machine for the shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
DRIVE=$WINEPREFIX/drive_c

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$WORK/x/displayfd" 2>"$WORK/x/xvfb.log" &
XVFB=$!
cleanup() {
  timeout 30 "$WINESERVER" -k 2>/dev/null
  kill "$XVFB" 2>/dev/null
  wait "$XVFB" 2>/dev/null
  if [ "${KEEP:-0}" = 1 ]; then echo "kept: $WORK"; else rm -rf "$WORK"; fi
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$WORK/x/displayfd" ] && break; sleep 0.2; done
[ -s "$WORK/x/displayfd" ] || { echo "$0: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$WORK/x/displayfd")"

passed=0 failed=0
check() { # NAME COMMAND...: one check, its result on one line
  local name=$1
  shift
  if "$@" >>"$WORK/checks.log" 2>&1; then
    echo "ok: $name"
    passed=$((passed + 1))
  else
    echo "FAILED: $name"
    failed=$((failed + 1))
  fi
}
# wine_run COMMAND...: a Windows program, waited for; its output with Unix line ends.
wine_run() { timeout 120 "$WINE" "$@" 2>&1 | tr -d '\r'; }
# wine_wait: until every program in the prefix has ended (the uninstaller
# runs on from a copy of itself, for one).
wine_wait() { timeout 120 "$WINESERVER" -w; }
says() { # TEXT COMMAND...: the command's output holds TEXT
  local text=$1 out
  shift
  out=$("$@")
  echo "$out"
  [[ $out == *"$text"* ]]
}
files_in() { # FOLDER: it holds exactly the packaged files (and Uninstall.exe, if installed)
  local want=$FILES
  [ -f "$1/Uninstall.exe" ] && want="$want Uninstall.exe"
  [ "$(cd "$1" && LC_ALL=C ls | tr '\n' ' ')" = "$(printf '%s\n' $want | LC_ALL=C sort | tr '\n' ' ')" ]
}
gone() { for path in "$@"; do [ ! -e "$path" ] || { echo "still there: $path"; return 1; }; done; }
uninstall_key() { # HKCU|HKLM: the Add/Remove Programs key's values
  wine_run reg query "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Swarmfire"
}
no_key() { ! uninstall_key "$1" | grep -q DisplayName; }

game_window() { xdotool search --onlyvisible --name '^Swarmfire$' 2>/dev/null | head -n1; }
window_opens() { # PID: the game's window appears while the program runs
  for _ in $(seq 300); do
    [ -n "$(game_window)" ] && return 0
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
key() { # KEY [SECONDS]: pressed over the game's window, held, released
  xdotool mousemove --window "$(game_window)" 20 20 keydown "$1" sleep "${2:-0.15}" keyup "$1" sleep 0.2
}
# play [F12]: from the title, a game started, steered and fired in; with
# F12, a screenshot saved.
play() {
  sleep 4
  key Alt_L
  sleep 3
  for _ in 1 2 3 4 5; do
    xdotool keydown space keydown Left sleep 0.7 keyup Left keydown Right sleep 0.7 keyup Right keyup space
  done
  [ $# -eq 0 ] || key "$1"
  sleep 1
}
closes_with_status_0() { # PID CLOSE_COMMAND...: the game ends with status 0 after it
  local pid=$1 status
  shift
  "$@"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  wait "$pid"
  status=$?
  echo "status $status"
  [ "$status" -eq 0 ]
}
close_wine_game() { timeout 30 "$WINE" taskkill /IM swarmfire.exe; }
# The Linux game's recording ends whole on Ctrl+C too (which timeout passes on).
recorded_on_linux() { # PID: stopped, the recording in place
  kill -INT "$1"
  wait "$1"
  test -s "$DRIVE/linux.sfr"
}
linux_game() { (cd "$(dirname "$LINUX_GAME")/data" && "$LINUX_GAME" "$@"); }

check "a fresh wine prefix" timeout 300 "$WINE" wineboot -i

# --- the zip ----------------------------------------------------------------
check "the zip unpacks to the folder Swarmfire" unzip -q "$ZIP" -d "$DRIVE/zip"
check "the folder holds the exe, the datafiles, LICENSE.txt and README.txt" files_in "$DRIVE/zip/Swarmfire"
(cd "$DRIVE/zip/Swarmfire" && exec timeout 120 "$WINE" 'C:\zip\Swarmfire\swarmfire.exe' --record 'C:\wine.sfr' \
  >"$WORK/wine-game.log" 2>&1) &
game=$!
if window_opens $game; then
  echo "ok: the game opens its window"
  passed=$((passed + 1))
  play F12
  check "the game ends with status 0 on its window's close message" closes_with_status_0 $game close_wine_game
else
  check "the game opens its window" false
fi
check "F12 saved dump.pcx in the folder it was started in" test -s "$DRIVE/zip/Swarmfire/dump.pcx"
rm -f "$DRIVE/zip/Swarmfire/dump.pcx"
cd "$DRIVE"
check "started from another folder, the game says its version" \
  says "swarmfire 1.0" wine_run 'C:\zip\Swarmfire\swarmfire.exe' --version
check "and verifies its recording with the datafiles beside it" \
  says ": ok" wine_run 'C:\zip\Swarmfire\swarmfire.exe' --verify 'C:\wine.sfr'
if [ -n "$LINUX_GAME" ]; then
  check "the recording made under wine verifies on Linux" \
    says ": ok" linux_game --verify "$DRIVE/wine.sfr"
  (cd "$(dirname "$LINUX_GAME")/data" && exec timeout 120 "$LINUX_GAME" --record "$DRIVE/linux.sfr" \
    >"$WORK/linux-game.log" 2>&1) &
  game=$!
  if window_opens $game; then
    play
    check "a game recorded on Linux" recorded_on_linux $game
  else
    check "a game recorded on Linux" false
  fi
  check "the recording made on Linux verifies under wine" \
    says ": ok" wine_run 'C:\zip\Swarmfire\swarmfire.exe' --verify 'C:\linux.sfr'
fi

# --- the installer ------------------------------------------------------------
installed() { # MODE FOLDER START_MENU KEY: an install in that mode, tried and taken away
  local mode=$1 folder=$2 menu=$3 root=$4 windows_folder
  windows_folder=$(timeout 30 "$WINE" winepath -w "$folder" | tr -d '\r')
  check "$mode: the installer runs silently" wine_run "$SETUP" /S "/$mode"
  wine_wait
  check "$mode: it installed the files of the zip and Uninstall.exe" files_in "$folder"
  check "$mode: the Start-menu shortcut" test -s "$menu/Swarmfire.lnk"
  check "$mode: Add/Remove Programs lists it under $root" \
    says "$windows_folder\\Uninstall.exe\" /$mode /S" uninstall_key "$root"
  check "$mode: the installed game says its version" \
    says "swarmfire 1.0" wine_run "$windows_folder\\swarmfire.exe" --version
  check "$mode: the installed game verifies the recording" \
    says ": ok" wine_run "$windows_folder\\swarmfire.exe" --verify 'C:\wine.sfr'
  (cd "$folder" && exec timeout 120 "$WINE" "$windows_folder\\swarmfire.exe" >"$WORK/installed-game.log" 2>&1) &
  game=$!
  if window_opens $game; then
    check "$mode: the installed game opens its window and closes with status 0" \
      closes_with_status_0 $game close_wine_game
  else
    check "$mode: the installed game opens its window and closes with status 0" false
  fi
  check "$mode: the uninstaller runs silently" wine_run "$windows_folder\\Uninstall.exe" /S
  wine_wait
  check "$mode: nothing of it is left" gone "$folder" "$menu/Swarmfire.lnk"
  check "$mode: nor its key" no_key "$root"
}
user=$(id -un)
installed CurrentUser "$DRIVE/users/$user/AppData/Local/Programs/Swarmfire" \
  "$DRIVE/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs" HKCU
installed AllUsers "$DRIVE/Program Files/Swarmfire" "$DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs" HKLM

[ "$failed" -eq 0 ] || { echo "what the checks printed: $WORK/checks.log"; KEEP=1; }
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
