#!/usr/bin/env bash
# What make windows packs, tried as a Windows player would under wine. The
# zip, unpacked: the exe, the datafiles, LICENSE.txt and README.txt; its
# game, started in its folder as a double-click starts it, plays a short
# game while recording, F12 saves dump.pcx there, and the close button ends
# it with status 0; started from another folder it says its version and
# verifies the recording with the datafiles beside it. The installer,
# silently for the current user and for all users: the files, the
# Start-menu shortcut and the Add/Remove Programs key where they belong;
# the installed game says its version, verifies the recording and opens and
# closes its window; the uninstaller, silently, leaves none of it.
#   packages.sh LINUX_BUILD WINDOWS_BUILD
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
source "$(dirname "$0")/../../tools/wine_lib.sh"
windows_folders "$@"
ZIP=$(ls "$(dirname "$EXE")"/swarmfire-*-win64.zip) SETUP=$(ls "$(dirname "$EXE")"/swarmfire-*-win64-setup.exe)
DRIVE=$WINEPREFIX/drive_c
FILES=$(printf '%s\n' LICENSE.txt README.txt swarmfire.exe bonus.dat enddat.dat level1.dat level10.dat level4.dat \
  level7.dat sound.dat title.dat | LC_ALL=C sort)
start_xvfb

# holds FOLDER [MORE...]: the folder holds the packed files and MORE, and nothing else.
holds() {
  [ "$(cd "$1" && LC_ALL=C ls)" = "$(printf '%s\n' $FILES "${@:2}" | LC_ALL=C sort)" ] ||
    fail "$1 holds $(cd "$1" && ls | tr '\n' ' ')"
}
# runs COMMAND...: a Windows program that ends with status 0, all of its
# processes gone (an uninstaller goes on from a copy of itself); says TEXT
# COMMAND...: one that prints TEXT.
runs() {
  wine_command "$@"
  timeout 120 /usr/lib/wine/wineserver64 -w
  [ "$RAN" -eq 0 ] || fail "$* ended with status $RAN: $RAN_OUT $RAN_ERR"
}
says() { runs "${@:2}" && [[ $RAN_OUT == *"$1"* ]] || fail "${*:2} printed: $RAN_OUT $RAN_ERR"; }
# played HOW FOLDER EXE [OPTION...]: the game in its window from that
# folder, played HOW, then closed with its close button.
played() {
  start_game "$WINE" "${@:2}"
  wait_window
  "$1"
  "$X_CLIENT" close "$WINDOW" || fail "could not press the close button"
  game_ended 0
}
a_short_game() {
  start_play
  tap Left 0.5
  tap Alt_L
  tap F12
}
a_look() { sleep 1; }
uninstall_key() { wine_command reg query "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Swarmfire"; }

unzip -q "$ZIP" -d "$DRIVE/zip" || fail "the zip does not unpack"
holds "$DRIVE/zip/Swarmfire"
played a_short_game "$DRIVE/zip/Swarmfire" 'C:\zip\Swarmfire\swarmfire.exe' --record 'C:\wine.sfr'
[ -s "$DRIVE/zip/Swarmfire/dump.pcx" ] || fail "F12 saved no dump.pcx in the game's folder"
rm "$DRIVE/zip/Swarmfire/dump.pcx"
cd "$DRIVE"
says "swarmfire 1.0" 'C:\zip\Swarmfire\swarmfire.exe' --version
says ": ok" 'C:\zip\Swarmfire\swarmfire.exe' --verify 'C:\wine.sfr'

# installed MODE FOLDER START_MENU KEY: an install for that mode, tried and
# taken away.
installed() {
  local folder=$2 windows_folder
  wine_command winepath -w "$folder"
  windows_folder=$RAN_OUT
  runs "$SETUP" /S "/$1"
  holds "$folder" Uninstall.exe
  [ -s "$3/Swarmfire.lnk" ] || fail "$1: no Start-menu shortcut in $3"
  uninstall_key "$4"
  [[ $RAN_OUT == *"$windows_folder\\Uninstall.exe\" /$1 /S"* ]] || fail "$1: no Add/Remove Programs key: $RAN_OUT"
  says "swarmfire 1.0" "$windows_folder\\swarmfire.exe" --version
  says ": ok" "$windows_folder\\swarmfire.exe" --verify 'C:\wine.sfr'
  played a_look "$folder" "$windows_folder\\swarmfire.exe"
  runs "$windows_folder\\Uninstall.exe" /S
  [ ! -e "$folder" ] && [ ! -e "$3/Swarmfire.lnk" ] || fail "$1: the uninstaller left files behind"
  uninstall_key "$4"
  [[ $RAN_OUT != *DisplayName* ]] || fail "$1: the uninstaller left its key"
  echo "installed for $1 in $windows_folder, tried and uninstalled"
}
user=$(id -un)
installed CurrentUser "$DRIVE/users/$user/AppData/Local/Programs/Swarmfire" \
  "$DRIVE/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs" HKCU
installed AllUsers "$DRIVE/Program Files/Swarmfire" "$DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs" HKLM
echo "PASS: the zip and the installer, tried as a player would"
