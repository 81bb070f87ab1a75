#!/usr/bin/env bash
# Runs the README's play command, then `make test`, on a fresh clone in a
# minimal Debian 12: a root made with debootstrap --variant=minbase
# bookworm, with only make and git added, so that every other package the
# build and the tests need must come from scripts/install-deps.sh. Takes
# the committed state (HEAD), as CI does.
#
# `make play` installs only the game's packages, builds the game and starts
# it. Its window opens on an X server of this machine's (Xvfb, its socket
# shared into the root, so nothing for it is installed there); once the
# window is on show, the title's Quit is chosen with real key events and the
# game must end with status 0. The time from `make play` to the window is
# printed; then `make test` runs in the same clone, on the game built.
#
#   scripts/fresh-debian-test.sh [WORK_DIR]      (as root; network to the
#                                                 Debian mirror needed)
#
# WORK_DIR (default /var/tmp/swarmfire-fresh) receives the root and the log
# of the run (make-test.log); the root is removed afterwards unless
# KEEP_ROOT=1. MIRROR overrides the Debian mirror. Prints the time of each
# step, the packages install-deps.sh installed and the tests' summary.
# `make play`'s output goes to make-play.log beside make-test.log.
#
# Two things are kept between runs in CACHE_DIR (default
# /var/cache/swarmfire-fresh; CACHE_DIR= keeps nothing), neither of which can
# hide a missing package: the bare minbase root as debootstrap made it (a
# tarball, made again when older than a week), and the package files apt
# downloaded inside, so that the next run's install-deps.sh installs the same
# packages without downloading them again.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(realpath -m "${1:-/var/tmp/swarmfire-fresh}")
mirror=${MIRROR:-http://deb.debian.org/debian}
root=$work/root
log=$work/make-test.log

[ "$(id -u)" -eq 0 ] || { echo "fresh-debian-test.sh: run it as root" >&2; exit 2; }
"$source_dir/scripts/install-deps.sh" fresh

# The root is only ever removed when nothing is mounted in it.
remove_root() {
  [ -d "$root" ] || return 0
  if findmnt -rno TARGET | grep -q "^$root/"; then
    echo "fresh-debian-test.sh: something is still mounted under $root; not removing it" >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}

step_start=0
step() {
  step_start=$SECONDS
  echo "== $*"
}
step_done() { echo "   ($((SECONDS - step_start)) s)"; }

mkdir -p "$work"
remove_root
cache=${CACHE_DIR-/var/cache/swarmfire-fresh}
minbase_tar=${cache:+$cache/minbase-bookworm.tar}
if [ -n "$minbase_tar" ] && [ -n "$(find "$minbase_tar" -mtime -7 2>/dev/null)" ]; then
  step "the minbase root of $(date -r "$minbase_tar" +%F) from $minbase_tar into $root"
  mkdir -p "$root"
  tar -xf "$minbase_tar" -C "$root"
else
  step "debootstrap --variant=minbase bookworm into $root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 20 "$work/debootstrap.log"; exit 1; }
  if [ -n "$minbase_tar" ]; then
    mkdir -p "$cache"
    tar -cf "$minbase_tar.new" -C "$root" . && mv "$minbase_tar.new" "$minbase_tar"
  fi
fi
step_done

# The suites of an installed Debian 12, and the host's name server.
cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
SOURCES
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Package}\n' | sort >"$work/packages-minbase.txt"

git -C "$source_dir" bundle create "$root/root/swarmfire.bundle" HEAD 2>/dev/null
commit=$(git -C "$source_dir" rev-parse --short HEAD)

# Inside: make and git, a clone, the play command with the window on the
# X server outside, and make test as CI runs it (root, CI=true, no standard
# input). Mounts live in a mount namespace of their own, so they go away
# with it whatever happens.
cat >"$root/root/run.sh" <<'INSIDE'
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
t=$SECONDS
apt-get update -qq
apt-get install -y -qq --no-install-recommends make git >/dev/null
echo "   make and git added ($((SECONDS - t)) s)"
git clone -q -c advice.detachedHead=false /root/swarmfire.bundle /root/swarmfire
cd /root/swarmfire
t=$SECONDS
date +%s.%N >/root/play-started
status=0
make play >/root/make-play.log 2>&1 || status=$?
echo "== make play ended with status $status after $((SECONDS - t)) s"
[ "$status" -eq 0 ] || { tail -n 20 /root/make-play.log; exit "$status"; }
t=$SECONDS
make test || status=$?
echo "== make test ended with status $status after $((SECONDS - t)) s"
exit $status
INSIDE

# The X server the game in the root opens its window on.
mkdir -p "$work/x"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/x/displayfd" 2>"$work/x/xvfb.log" &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/x/displayfd" ] && break; sleep 0.2; done
[ -s "$work/x/displayfd" ] || { echo "fresh-debian-test.sh: Xvfb did not start" >&2; exit 1; }
display=":$(head -n1 "$work/x/displayfd")"

game_window() { DISPLAY=$display xdotool search --onlyvisible --name '^Swarmfire$' 2>/dev/null | head -n1 || true; }

# end_games_in_root: a game in the root that would not end by itself.
end_games_in_root() {
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] && [ "$(cat "$proc/comm" 2>/dev/null)" = swarmfire ] &&
      kill -9 "${proc#/proc/}" 2>/dev/null
  done
  return 0
}

# watch_play: waits for the game's window (packages and build included, at
# most half an hour), notes when it came, then quits from the title as a
# player does; a game that stays is ended. The X server goes with it, so
# that the tests' own servers that follow have the display numbers to
# themselves.
watch_play() {
  local window='' started
  for _ in $(seq 3600); do
    window=$(game_window)
    [ -n "$window" ] && break
    sleep 0.5
  done
  if [ -n "$window" ]; then
    started=$(cat "$root/root/play-started")
    echo "$(date +%s.%N) $started" | awk '{printf "%.1f\n", $1 - $2}' >"$work/x/window-after"
    sleep 2
    for key in Down Down Alt_L; do
      DISPLAY=$display xdotool mousemove --window "$window" 20 20 keydown "$key" sleep 0.15 keyup "$key" sleep 0.3
    done
    for _ in $(seq 60); do
      [ -n "$(game_window)" ] || break
      sleep 0.5
    done
  fi
  end_games_in_root
  kill "$xvfb" 2>/dev/null || true
}
watch_play &
watcher=$!

step "make play, then make test, in the fresh root (commit $commit); output in $log"
status=0
unshare --mount --propagation private bash -c '
  set -e
  root=$1
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
  mkdir -p "$root/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  if [ -n "$2" ]; then
    mkdir -p "$2"
    mount --bind "$2" "$root/var/cache/apt/archives"
  fi
  exec chroot "$root" /usr/bin/env -i HOME=/root CI=true TERM=dumb DISPLAY="$3" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash /root/run.sh
' _ "$root" "${cache:+$cache/apt-archives}" "$display" </dev/null >"$log" 2>&1 || status=$?
step_done
kill "$watcher" "$xvfb" 2>/dev/null || true
wait "$watcher" "$xvfb" 2>/dev/null || true
cp "$root/root/make-play.log" "$work/make-play.log" 2>/dev/null || true

# A process the run left behind in the root (none should be) is ended, by
# its id, so that the root can go.
for proc in /proc/[0-9]*; do
  [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] || continue
  echo "   left running in the root, ended: ${proc#/proc/} $(tr '\0' ' ' <"$proc/cmdline" 2>/dev/null)"
  kill -9 "${proc#/proc/}" 2>/dev/null || true
done

dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Package}\n' | sort >"$work/packages-after.txt"
echo "== what install-deps.sh installed:"
grep -h '^Installing: ' "$work/make-play.log" "$log" 2>/dev/null | sed 's/^/   /' || echo "   (nothing)"
echo "   $(comm -13 "$work/packages-minbase.txt" "$work/packages-after.txt" | wc -l) packages added to the" \
  "$(wc -l <"$work/packages-minbase.txt") of minbase in all (make, git and their dependencies included;" \
  "list in $work/packages-after.txt)"
echo "== make play: the game's window $(cat "$work/x/window-after" 2>/dev/null || echo never) s after" \
  "the command (packages, build and start)"
echo "== the tests' summary:"
grep -E '^(   make and git added|== make (play|test) ended|[0-9]+% tests passed|Total Test time|The following tests FAILED)|^\s+[0-9]+ - ' \
  "$log" | tail -n 40 | sed 's/^/   /'
[ "${KEEP_ROOT:-0}" = 1 ] || remove_root
if [ "$status" -eq 0 ] && [ -s "$work/x/window-after" ]; then
  echo "PASS: make play opened the game and make test passed in a minimal Debian 12 with only make and git added"
else
  [ "$status" -ne 0 ] || status=1
  echo "FAIL: in the minimal Debian 12 (status $status); see $log and $work/make-play.log"
fi
exit "$status"
