#!/usr/bin/env bash
# Installs the Debian packages that a build, the tests or the benchmarks need,
# only when some are missing. Usage: install-deps.sh play|test|bench|fuzz|package
set -euo pipefail

build_packages=(g++ cmake pkg-config make liballegro4-dev libpng-dev)
test_packages=(googletest libgtest-dev xvfb xdotool desktop-file-utils man-db dpkg-dev)
package_packages=(dpkg-dev)
bench_packages=(libbenchmark-dev)
bench_tools=(valgrind)  # instruction counts of make bench
fuzz_packages=(clang libclang-rt-14-dev)

wanted=("${build_packages[@]}")
case "${1:-play}" in
  play) ;;
  test) wanted+=("${test_packages[@]}" "${bench_packages[@]}" "${fuzz_packages[@]}") ;;
  bench) wanted+=("${test_packages[@]}" "${bench_packages[@]}" "${bench_tools[@]}") ;;
  fuzz) wanted+=("${test_packages[@]}" "${bench_packages[@]}" "${fuzz_packages[@]}") ;;
  package) wanted+=("${package_packages[@]}") ;;
  *) echo "usage: $0 play|test|bench|fuzz|package" >&2; exit 2 ;;
esac

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
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
