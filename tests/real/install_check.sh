#!/usr/bin/env bash
# The game as installed, in a staging root:
#   install_check.sh staged BUILD_DIR
#     cmake --install of the build tree with DESTDIR;
#   install_check.sh deb BUILD_DIR
#     the .deb of dist/build-package.sh (built in BUILD_DIR/package),
#     unpacked with dpkg-deb -x, whose dependencies must be the libraries'
#     runtime packages.
# Then: every file in its place, the desktop entries and the manual page pass
# their linters (the entries name the window's class), the icons are PNGs of
# their sizes, the copyright file is
# machine-readable, the changelog and the AppStream metadata (which passes
# appstreamcli validate) name one version, the binary passes hardening-check
# (the staged one when the build is hardened) and the package lintian; and
# the installed binary, run from / with nothing pointing at its data, passes
# its datafile check and opens its window. (What SWARMFIRE_DATA names is
# taken as the data folder whatever the binary's place: DataPath, and
# real_no_window's missing files.) A game recorded
# there is, to xdg-mime (with the installed file type and entries in a
# private XDG_DATA_HOME), a Swarmfire recording by its name and by its first
# bytes, and the entry for that type plays it to its end.
source "$(dirname "$0")/../../tools/xvfb_lib.sh"
MODE=${1:-}
[[ $MODE == staged || $MODE == deb ]] || MODE=
USAGE="staged|deb BUILD_DIR" build_folder "${MODE:+${2:-}}" "install_$MODE"
STAGE=$WORK/stage

case $MODE in
  staged)
    DESTDIR=$STAGE cmake --install "$BUILD" >/dev/null || fail "cmake --install failed"
    ROOT=$STAGE$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$BUILD/CMakeCache.txt")
    ;;
  deb)
    source_dir=$(cd "$(dirname "$0")/../.." && pwd)
    deb=$("$source_dir/dist/build-package.sh" "$source_dir" "$BUILD/package" 2 | tail -n1) ||
      fail "the package did not build"
    depends=$(dpkg-deb -f "$deb" Depends)
    [[ $depends == *liballegro4.4* ]] || fail "the package does not depend on liballegro4.4"
    [[ $depends != *-dev* ]] || fail "the package depends on a -dev package"
    [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the package is not in section games"
    tags=$(lintian --pedantic -I -E "$deb" 2>&1 | grep -v "^running with root privileges" || true)
    [ -z "$tags" ] || fail "lintian --pedantic -I -E: $tags"
    dpkg-deb -x "$deb" "$STAGE" || fail "dpkg-deb -x failed"
    ROOT=$STAGE/usr
    ;;
esac

for f in games/swarmfire share/applications/swarmfire{,-play}.desktop share/man/man6/swarmfire.6.gz \
  share/mime/packages/swarmfire.xml share/doc/swarmfire/{copyright,changelog.gz} \
  share/metainfo/swarmfire.metainfo.xml \
  share/games/swarmfire/{sound,title,bonus,level1,level4,level7,level10,enddat}.dat; do
  [ -s "$ROOT/$f" ] || fail "not installed: $f"
done

for size in 32 48 64; do
  icon=$ROOT/share/icons/hicolor/${size}x${size}/apps/swarmfire.png
  [ "$(od -An -w8 -tu1 -j16 -N8 "$icon")" = "$(printf '%4d' 0 0 0 "$size" 0 0 0 "$size")" ] ||
    fail "no ${size}x$size icon"
done

for entry in swarmfire swarmfire-play; do
  desktop-file-validate "$ROOT/share/applications/$entry.desktop" || fail "desktop-file-validate $entry"
  grep -qx "StartupWMClass=Swarmfire" "$ROOT/share/applications/$entry.desktop" ||
    fail "$entry.desktop does not name the window's class"
done
grep -qx "Exec=${ROOT#"$STAGE"}/games/swarmfire" "$ROOT/share/applications/swarmfire.desktop" ||
  fail "the desktop entry does not start the installed game"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$ROOT/share/man/man6/swarmfire.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man --warnings: $warnings"
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$ROOT/share/man/man6/swarmfire.6.gz" 2>/dev/null)
for section in KEYS OPTIONS FILES ENVIRONMENT "EXIT STATUS"; do
  grep -q "^$section" <<<"$page" || fail "the manual page has no $section section"
done

doc=$ROOT/share/doc/swarmfire
metainfo=$ROOT/share/metainfo/swarmfire.metainfo.xml
[ "$(head -n1 "$doc/copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
  fail "the copyright file is not in Debian's machine-readable format"
grep -qx "License: GPL-3+" "$doc/copyright" || fail "the copyright file does not give the GPL-3+"
zcat "$doc/changelog.gz" >"$WORK/changelog" || fail "changelog.gz is not gzipped"
version=$(dpkg-parsechangelog -l "$WORK/changelog" -S Version) || fail "the changelog does not parse"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
if [ "$MODE" = deb ]; then
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package is not version $version"
fi
out=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
! grep -q '^[EWIP]: ' <<<"$out" || fail "appstreamcli validate: $out"

if [ "$MODE" = deb ] || [ "${SWARMFIRE_HARDENING:-ON}" = ON ]; then
  out=$(hardening-check "$ROOT/games/swarmfire" 2>&1) || fail "hardening-check: $out"
  # hardening-check's control-flow line reads the binary's marking alone;
  # the code itself must carry the branch-target instructions.
  marks=$(objdump -d -j .text "$ROOT/games/swarmfire" | grep -c endbr64 || true)
  [ "$marks" -gt 100 ] || fail "$marks branch targets (endbr64) in the game's code: no -fcf-protection?"
fi

(cd / && one_line "its own data" 1 "swarmfire: no X display" \
  env -u DISPLAY -u SWARMFIRE_DATA "$ROOT/games/swarmfire")

start_xvfb
unset SWARMFIRE_DATA
REC=$WORK/quit.sfr
start_game "$ROOT/games/swarmfire" / --record "$REC"
wait_window
sleep 1
title_lit
quit_from_title

xdg=$WORK/xdg
mkdir -p "$xdg/mime/packages" "$xdg/applications"
cp "$ROOT/share/mime/packages/swarmfire.xml" "$xdg/mime/packages/"
cp "$ROOT/share/applications/"*.desktop "$xdg/applications/"
XDG_DATA_HOME=$xdg update-mime-database "$xdg/mime" || fail "update-mime-database"
update-desktop-database "$xdg/applications" >/dev/null 2>&1 || fail "update-desktop-database"
cp "$REC" "$WORK/unnamed"
for f in "$REC" "$WORK/unnamed"; do
  type=$(XDG_DATA_HOME=$xdg xdg-mime query filetype "$f")
  [ "$type" = application/x-swarmfire-recording ] || fail "xdg-mime: $f is $type"
done
entry=$(XDG_DATA_HOME=$xdg xdg-mime query default application/x-swarmfire-recording)
[ "$entry" = swarmfire-play.desktop ] || fail "recordings open with '$entry'"
read -r -a command <<<"$(sed -n 's/^Exec=//p' "$xdg/applications/$entry")"
[ "${command[*]:1}" = "--play %f" ] || fail "$entry runs ${command[*]}"
start_game "$STAGE${command[0]}" / --play "$REC"
wait_window
game_ended 0 60 "$entry"
echo "PASS ($MODE): the installed game runs from /, and its recordings open from a file manager"
