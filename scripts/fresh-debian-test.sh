#!/usr/bin/env bash
# Runs `make test` on a fresh clone in a minimal Debian 12: a root made with
# debootstrap --variant=minbase bookworm, with only make and git added, so
# that every other package the build and the tests need must come from
# scripts/install-deps.sh. Takes the committed state (HEAD), as CI does.
#
#   scripts/fresh-debian-test.sh [WORK_DIR]      (as root; network to the
#                                                 Debian mirror needed)
#
# WORK_DIR (default /var/tmp/swarmfire-fresh) receives the root and the log
# of the run (make-test.log); the root is removed afterwards unless
# KEEP_ROOT=1. MIRROR overrides the Debian mirror. Prints the time of each
# step, the packages install-deps.sh installed and the tests' summary.
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

# Inside: make and git, a clone, and make test as CI runs it (root, CI=true,
# no standard input). Mounts live in a mount namespace of their own, so they
# go away with it whatever happens.
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
status=0
make test || status=$?
echo "== make test ended with status $status after $((SECONDS - t)) s"
exit $status
INSIDE

step "make test in the fresh root (commit $commit); its output in $log"
status=0
unshare --mount --propagation private bash -c '
  set -e
  root=$1
  mount -t proc proc "$root/proc"
  mount -t sysfs sysfs "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
  if [ -n "$2" ]; then
    mkdir -p "$2"
    mount --bind "$2" "$root/var/cache/apt/archives"
  fi
  exec chroot "$root" /usr/bin/env -i HOME=/root CI=true TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash /root/run.sh
' _ "$root" "${cache:+$cache/apt-archives}" </dev/null >"$log" 2>&1 || status=$?
step_done

# A process the run left behind in the root (none should be) is ended, by
# its id, so that the root can go.
for proc in /proc/[0-9]*; do
  [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] || continue
  echo "   left running in the root, ended: ${proc#/proc/} $(tr '\0' ' ' <"$proc/cmdline" 2>/dev/null)"
  kill -9 "${proc#/proc/}" 2>/dev/null || true
done

dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Package}\n' | sort >"$work/packages-after.txt"
echo "== what install-deps.sh installed:"
grep '^Installing: ' "$log" | sed 's/^/   /' || echo "   (nothing)"
echo "   $(comm -13 "$work/packages-minbase.txt" "$work/packages-after.txt" | wc -l) packages added to the" \
  "$(wc -l <"$work/packages-minbase.txt") of minbase in all (make, git and their dependencies included;" \
  "list in $work/packages-after.txt)"
echo "== the tests' summary:"
grep -E '^(   make and git added|== make test ended|[0-9]+% tests passed|Total Test time|The following tests FAILED)|^\s+[0-9]+ - ' \
  "$log" | tail -n 40 | sed 's/^/   /'
[ "${KEEP_ROOT:-0}" = 1 ] || remove_root
if [ "$status" -eq 0 ]; then
  echo "PASS: make test passed in a minimal Debian 12 with only make and git added"
else
  echo "FAIL: make test failed in the minimal Debian 12 (status $status); see $log"
fi
exit "$status"
