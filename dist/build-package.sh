#!/usr/bin/env bash
# Builds the Debian package: a release build of the game for the prefix
# /usr in a build folder of its own (no tests, no benchmarks) with Debian's
# hardening flags (dist/hardening.cmake), then CPack.
# Usage: build-package.sh SOURCE_DIR BUILD_DIR [JOBS]
# Prints the path of the .deb as its last line.
set -euo pipefail
source_dir=$1 build_dir=$2 jobs=${3:-2}
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DSWARMFIRE_TESTS=OFF -DSWARMFIRE_BENCH=OFF -DSWARMFIRE_HARDENING=ON >/dev/null
cmake --build "$build_dir" -j "$jobs"
rm -f "$build_dir"/swarmfire_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
ls "$build_dir"/swarmfire_*.deb
