#!/bin/bash
# Cross-builds Allegro 4.4.3.1 as a static library for 64-bit Windows with
# Debian's MinGW-w64 (-posix) compilers.
#
#   scripts/build-allegro-windows.sh OUT_DIR
#
# Leaves:  OUT_DIR/src/allegro4.4_4.4.3.1.orig.tar.gz   the upstream source
#          OUT_DIR/build/                               unpacked, patched tree and CMake build
#          OUT_DIR/allegro/include, OUT_DIR/allegro/lib/liballeg.a
#
# Installs no packages: it names the missing ones and exits 1.
# The source comes from Debian with "apt-get source --tar-only allegro4.4".
# That needs a deb-src entry for bookworm main; when apt knows no such source
# and the script runs as root, it writes /etc/apt/sources.list.d/swarmfire-src.sources
# and runs "apt-get update" for that one file. The tarball's sha256 is checked
# against the .dsc and against the constant below, and a tarball that already
# has the right sha256 is used without going to the network.
# Stamp files make a rerun with nothing changed finish in seconds.
# Programs built against the library must define ALLEGRO_STATICLINK.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 OUT_DIR" >&2; exit 2; }
mkdir -p "$1"
OUT=$(cd "$1" && pwd)
HERE=$(cd "$(dirname "$0")/.." && pwd)
# Applied in this order to the unpacked upstream tree.
PATCHES=("$HERE/dist/windows/allegro-directinput.patch" "$HERE/dist/windows/allegro-window-loop.patch"
         "$HERE/dist/windows/allegro-win64-pointers.patch" "$HERE/dist/windows/allegro-win64-amd64.patch")
TOOLCHAIN=$HERE/dist/windows/mingw64-toolchain.cmake

SRC_PKG=allegro4.4
SRC_VERSION=2:4.4.3.1-3
TARBALL=allegro4.4_4.4.3.1.orig.tar.gz
TARBALL_SHA256=ec19dbc9a021244582b4819b3583ee594b50141f9fcf6944a4ed8069cbf8d4d4
TREE=allegro-4.4.3.1
APT_SRC_FILE=/etc/apt/sources.list.d/swarmfire-src.sources

die() { echo "build-allegro-windows: $*" >&2; exit 1; }
sha() { sha256sum "$1" | cut -d' ' -f1; }

# --- packages -------------------------------------------------------------
NEEDED="g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 cmake make dpkg-dev patch"
missing=""
for p in $NEEDED; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "build-allegro-windows: missing packages:$missing" >&2
    echo "  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends$missing" >&2
    exit 1
fi

# --- source ---------------------------------------------------------------
mkdir -p "$OUT/src"
if [ -f "$OUT/src/$TARBALL" ] && [ "$(sha "$OUT/src/$TARBALL")" = "$TARBALL_SHA256" ]; then
    echo "source: $TARBALL already present, sha256 ok"
else
    rm -f "$OUT/src/$TARBALL" "$OUT/src"/allegro4.4_*.dsc
    # apt only serves the source when it has a deb-src index listing this tarball.
    if ! apt-cache showsrc "$SRC_PKG" 2>/dev/null | grep -q " $TARBALL_SHA256 "; then
        [ "$(id -u)" -eq 0 ] || die "no deb-src for bookworm main; add one (or run as root) and apt-get update"
        if [ ! -f "$APT_SRC_FILE" ]; then
            echo "source: adding $APT_SRC_FILE"
            printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: bookworm" \
                "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" > "$APT_SRC_FILE"
        fi
        echo "source: apt-get update for $APT_SRC_FILE only"
        apt-get update -qq -o Dir::Etc::sourcelist="$APT_SRC_FILE" \
            -o Dir::Etc::sourceparts=- -o APT::Get::List-Cleanup=0
    fi
    # Root downloads straight into OUT_DIR/src instead of through the _apt user.
    (cd "$OUT/src" && apt-get source -qq -o APT::Sandbox::User=root --tar-only "$SRC_PKG=$SRC_VERSION" \
        && apt-get source -qq -o APT::Sandbox::User=root --dsc-only "$SRC_PKG=$SRC_VERSION")
    dsc_sha=$(awk -v f="$TARBALL" '/^Checksums-Sha256:/{s=1;next} /^[^ ]/{s=0} s && $3==f {print $1}' "$OUT/src"/allegro4.4_*.dsc)
    got=$(sha "$OUT/src/$TARBALL")
    [ "$dsc_sha" = "$TARBALL_SHA256" ] || die ".dsc lists sha256 '$dsc_sha' for $TARBALL, expected $TARBALL_SHA256"
    [ "$got" = "$TARBALL_SHA256" ] || { rm -f "$OUT/src/$TARBALL"; die "$TARBALL has sha256 $got, expected $TARBALL_SHA256"; }
    echo "source: fetched $TARBALL, sha256 matches the .dsc and the expected value"
fi

# --- unpack and patch -----------------------------------------------------
mkdir -p "$OUT/build"
unpack_key="$TARBALL_SHA256 $(cat "${PATCHES[@]}" | sha256sum | cut -d' ' -f1)"
if [ "$(cat "$OUT/build/unpacked.stamp" 2>/dev/null)" != "$unpack_key" ]; then
    echo "unpack: $TARBALL"
    rm -rf "$OUT/build/$TREE" "$OUT/build/cmake" "$OUT/build/built.stamp"
    tar -xzf "$OUT/src/$TARBALL" -C "$OUT/build"
    for p in "${PATCHES[@]}"; do
        echo "patch:  $(basename "$p")"
        patch -d "$OUT/build/$TREE" -p1 --forward --quiet < "$p"
    done
    echo "$unpack_key" > "$OUT/build/unpacked.stamp"
fi

# --- configure, build, install --------------------------------------------
# Release without debug info, source paths mapped away and deterministic
# archives, so the same inputs give the same liballeg.a wherever it is built.
CFLAGS_EXTRA="-ffile-prefix-map=$OUT/build/$TREE=allegro"
CMAKE_ARGS=(
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN"
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX="$OUT/allegro"
    -DCMAKE_C_FLAGS="$CFLAGS_EXTRA"
    -DCMAKE_CXX_FLAGS="$CFLAGS_EXTRA"
    -DCMAKE_C_ARCHIVE_CREATE="<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>"
    -DCMAKE_C_ARCHIVE_APPEND="<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>"
    -DCMAKE_C_ARCHIVE_FINISH="<CMAKE_RANLIB> -D <TARGET>"
    -DSHARED=OFF
    -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF
    -DWANT_EXAMPLES=OFF -DWANT_TOOLS=OFF -DWANT_TESTS=OFF -DWANT_DOCS=OFF
)
build_key="$unpack_key $(sha "$TOOLCHAIN") $(printf '%s\n' "${CMAKE_ARGS[@]}" | sha256sum | cut -d' ' -f1)"
if [ "$(cat "$OUT/build/built.stamp" 2>/dev/null)" = "$build_key" ] && [ -f "$OUT/allegro/lib/liballeg.a" ]; then
    echo "build: up to date ($OUT/allegro/lib/liballeg.a)"
    exit 0
fi
rm -rf "$OUT/build/cmake" "$OUT/allegro"
mkdir -p "$OUT/build/cmake"
LOG=$OUT/build/build.log
echo "build: configuring and compiling (log: $LOG)"
{
    cmake -S "$OUT/build/$TREE" -B "$OUT/build/cmake" "${CMAKE_ARGS[@]}" &&
    cmake --build "$OUT/build/cmake" -j "$(nproc)" &&
    cmake --install "$OUT/build/cmake"
} > "$LOG" 2>&1 || { tail -n 40 "$LOG" >&2; die "build failed, see $LOG"; }
[ -f "$OUT/allegro/lib/liballeg.a" ] || die "no liballeg.a after install, see $LOG"
echo "$build_key" > "$OUT/build/built.stamp"
echo "build: $OUT/allegro/lib/liballeg.a ($(stat -c %s "$OUT/allegro/lib/liballeg.a") bytes)"
