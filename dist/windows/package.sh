#!/bin/bash
# Packs the Windows build for players: the folder Swarmfire (the stripped
# exe, the eight datafiles, LICENSE.txt and README.txt with Windows line
# ends) as a zip, and the installer that dist/windows/swarmfire.nsi makes
# of the same files.
#
#   dist/windows/package.sh EXE DATA_DIR ICO OUT_DIR VERSION
#
# Leaves OUT_DIR/swarmfire-VERSION-win64.zip, OUT_DIR/swarmfire-VERSION-win64-setup.exe
# and the staged folder in OUT_DIR/package. Every file carries the time
# SOURCE_DATE_EPOCH when it is set, else that of NEWS's latest release,
# and the zip lists them in a fixed order, so the same build makes the
# same bytes. (windows.cmake's windows_packages target runs it.)
set -euo pipefail

[ $# -eq 5 ] || { echo "usage: $0 EXE DATA_DIR ICO OUT_DIR VERSION" >&2; exit 2; }
mkdir -p "$4"
EXE=$(realpath "$1") DATA=$(realpath "$2") ICO=$(realpath "$3") OUT=$(realpath "$4") VERSION=$5
HERE=$(cd "$(dirname "$0")" && pwd)
SOURCE=$(cd "$HERE/../.." && pwd)
DATAFILES=(sound.dat title.dat bonus.dat level1.dat level4.dat level7.dat level10.dat enddat.dat)
ZIP=$OUT/swarmfire-$VERSION-win64.zip
SETUP=$OUT/swarmfire-$VERSION-win64-setup.exe

die() { echo "package: $*" >&2; exit 1; }
for tool in x86_64-w64-mingw32-strip zip makensis; do
    command -v "$tool" > /dev/null || die "$tool is missing: scripts/install-deps.sh windows installs it"
done

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    released=$(sed -n 's/^ -- .*>  //p' "$SOURCE/NEWS" | head -n 1)
    SOURCE_DATE_EPOCH=$(date -d "$released" +%s) || die "no release date in NEWS"
fi
# strip writes it into the exe's header as its time of linking.
export SOURCE_DATE_EPOCH

# --- the folder -----------------------------------------------------------
STAGE=$OUT/package
FOLDER=$STAGE/Swarmfire
rm -rf "$STAGE"
mkdir -p "$FOLDER"
x86_64-w64-mingw32-strip -o "$FOLDER/swarmfire.exe" "$EXE"
for file in "${DATAFILES[@]}"; do
    cp "$DATA/$file" "$FOLDER/$file"
done
sed 's/$/\r/' "$SOURCE/COPYING" > "$FOLDER/LICENSE.txt"
sed 's/$/\r/' "$HERE/README-windows.txt" > "$FOLDER/README.txt"
chmod 644 "$FOLDER"/*
chmod 755 "$FOLDER" "$FOLDER/swarmfire.exe"
mapfile -t files < <(cd "$FOLDER" && LC_ALL=C ls)

# --- the zip ----------------------------------------------------------------
# zip keeps each file's time in local time, so the time zone is fixed too;
# -X leaves out the owner and the extra times, -D the folder's own entry.
export TZ=UTC
touch -d "@$SOURCE_DATE_EPOCH" "$FOLDER" "$FOLDER"/*
rm -f "$ZIP"
(cd "$STAGE" && printf 'Swarmfire/%s\n' "${files[@]}" | zip -q -X -D -9 "$ZIP" -@)

# --- the installer ------------------------------------------------------------
# Its lists of files, in the same order.
{
    echo "!macro install_files"
    for file in "${files[@]}"; do echo "  File \"$FOLDER/$file\""; done
    echo "!macroend"
    echo "!macro remove_files"
    for file in "${files[@]}"; do echo "  Delete \"\$INSTDIR\\$file\""; done
    echo "!macroend"
} > "$STAGE/files.nsh"
rm -f "$SETUP"
makensis -V2 -NOCD -DVERSION="$VERSION" -DFILES="$STAGE/files.nsh" -DICON="$ICO" \
    -DOUTFILE="$SETUP" "$HERE/swarmfire.nsi"

echo "package: $ZIP ($(stat -c %s "$ZIP") bytes)"
echo "package: $SETUP ($(stat -c %s "$SETUP") bytes)"
