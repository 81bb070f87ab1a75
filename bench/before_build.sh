# The game as it was before a change, for the benchmarks that measure
# before and after in one run. Sourced after tools/xvfb_lib.sh.
# before_build FOLDER FIRST [CMAKE_ARG...]: the game built from the parent
# of the commit FIRST (the change's first) into FOLDER, a git worktree of
# the source, kept while FIRST stays the same; prints the binary.
before_build() {
  local source folder=$1 first=$2
  source=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if [ ! -x "$folder/build/swarmfire" ] || [ "$(cat "$folder/commit" 2>/dev/null)" != "$first" ]; then
    rm -rf "$folder"
    git -C "$source" worktree prune
    git -C "$source" worktree add --detach "$folder" "$first^" >/dev/null
    echo "$first" >"$folder/commit"
    cmake -S "$folder" -B "$folder/build" "${@:3}" >/dev/null
    cmake --build "$folder/build" -j "$(nproc)" --target swarmfire >/dev/null
  fi
  echo "$folder/build/swarmfire"
}
