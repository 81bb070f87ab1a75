#!/usr/bin/env bash
# Installs the Debian packages that a make target needs, only when some are
# missing. Usage: install-deps.sh [--list] play|test|bench|fuzz|package|fresh|windows|windows-test
# With --list it only prints the target's packages, one a line.
#   play     the game, its datafiles and tools (make, make play, make install)
#   test     make test: the build, the tests, the package and its checks,
#            the benchmarks' smoke run and the fuzzer's short run
#   bench    make bench; fuzz: make fuzz; package: make package
#   windows  make windows: the Linux build's datafiles, MinGW, and the
#            packers of the zip and the installer
#   windows-test  make windows-test: that, wine and the Linux build's tools
#   fresh    scripts/fresh-debian-test.sh (debootstrap, and the X server
#            that the game built there opens its window on)
# A minimal Debian 12 (debootstrap --variant=minbase) with make and git added
# needs nothing else: scripts/fresh-debian-test.sh proves it.
set -euo pipefail

# dpkg-dev: dpkg-buildflags gives the hardening flags of every build;
# libasound2-dev: the game's sound driver, and ALSA's error lines kept off
# the terminal; libxrandr-dev: the monitors of the screen;
# libxcb-present-dev, libxcb-shm0-dev and libx11-xcb-dev: frames go on the
# screen at the display's refreshes through the X Present extension;
# libdbus-1-dev: the sound thread asks RealtimeKit for its priority.
build_packages=(g++ cmake pkg-config make liballegro4-dev libpng-dev dpkg-dev libasound2-dev libxrandr-dev
                libxcb-present-dev libxcb-shm0-dev libx11-xcb-dev libdbus-1-dev)
# CPack's dependency scan runs file and dpkg-shlibdeps (dpkg-dev).
package_packages=(file)
# Xvfb, xdotool, x11-utils (xwininfo, xprop, xmessage) and
# x11-xserver-utils (xrandr: two monitors) for the real window, and the
# XTest extension's header for the benchmarks' key presses and pilot
# there; the linters of the installed files:
# desktop-file-validate, man, lintian, appstreamcli and hardening-check
# (devscripts); xdg-mime (xdg-utils, which asks mimetype of
# libfile-mimeinfo-perl) over the databases of update-mime-database
# (shared-mime-info) and update-desktop-database (desktop-file-utils);
# shfmt and jq for tests/tool_packages.sh, which
# holds every command the scripts run to a package here; the Damage
# extension's header for the watcher of the game's frames
# (tools/present_watch.cpp); weston, its XWayland and xwd (x11-apps)
# for the game under a Wayland compositor; a private PipeWire for the sound
# through it, as Debian's desktops run it: pipewire, wireplumber and its
# session bus (dbus-daemon), pipewire-alsa (which makes PipeWire ALSA's
# default device), pw-dump, pw-metadata and pw-profiler (pipewire-bin);
# the window managers of Debian's desktops, each with its compositor: xfwm4,
# openbox with picom, GNOME's mutter and KDE's KWin (kwin-wayland, and
# breeze for its decorations), both with XWayland.
test_packages=(googletest libgtest-dev xvfb xdotool x11-utils x11-xserver-utils libxtst-dev desktop-file-utils
               man-db lintian appstream devscripts xdg-utils libfile-mimeinfo-perl shared-mime-info
               shfmt jq libxcb-damage0-dev weston xwayland x11-apps
               pipewire wireplumber pipewire-alsa pipewire-bin dbus-daemon
               xfwm4 openbox picom mutter kwin-wayland breeze)
bench_packages=(libbenchmark-dev)
# instruction counts of make bench; the game before, for its figures; the
# X server's pixmaps by client (bench/desktop_memory.sh)
bench_tools=(valgrind git xrestop)
fuzz_packages=(clang libclang-rt-14-dev)
# make windows: MinGW-w64's C++ compiler (the winpthreads flavour), its
# Windows and DirectX headers and binutils (windres, strip); dpkg-dev and
# patch for the library's source (apt-get source, its patches); zip and
# nsis (makensis) for the zip and the installer (dist/windows/package.sh).
windows_packages=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 dpkg-dev patch
                  zip nsis)
# make windows-test: wine64 (and wine, Debian's launcher) for the exes;
# googletest's source, built with MinGW; Xvfb, xdotool and x11-utils
# (xwininfo) for the exe's window; unzip for the zip; what the Linux build's
# tests need configured for its window tools (libgtest-dev, libxtst-dev,
# libxcb-damage0-dev); dbus-daemon, which the real tests' library that the
# Windows tests share can start.
windows_test_packages=(wine wine64 googletest xvfb xdotool x11-utils unzip libgtest-dev libxtst-dev
                       libxcb-damage0-dev dbus-daemon)

list_only=0
if [ "${1:-}" = --list ]; then
  list_only=1
  shift
fi

wanted=("${build_packages[@]}")
case "${1:-play}" in
  play) ;;
  test) wanted+=("${test_packages[@]}" "${package_packages[@]}" "${bench_packages[@]}"
                 "${fuzz_packages[@]}") ;;
  bench) wanted+=("${test_packages[@]}" "${bench_packages[@]}" "${bench_tools[@]}") ;;
  fuzz) wanted+=("${test_packages[@]}" "${bench_packages[@]}" "${fuzz_packages[@]}") ;;
  package) wanted+=("${package_packages[@]}") ;;
  windows) wanted=(cmake make "${build_packages[@]}" "${windows_packages[@]}") ;;
  windows-test) wanted=(cmake make "${build_packages[@]}" "${windows_packages[@]}" "${windows_test_packages[@]}") ;;
  fresh) wanted=(debootstrap git xvfb xdotool) ;;
  *) echo "usage: $0 [--list] play|test|bench|fuzz|package|fresh|windows|windows-test" >&2; exit 2 ;;
esac
if [ "$list_only" = 1 ]; then
  printf '%s\n' "${wanted[@]}"
  exit 0
fi

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "These Debian packages are missing and you are not root: ${missing[*]}" >&2
  echo "Install them with: apt-get install ${missing[*]}" >&2
  exit 1
fi
# Another apt run (an unattended upgrade, say) may hold the lock a while.
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300)
"${apt[@]}" update
"${apt[@]}" install -y --no-install-recommends "${missing[@]}"
