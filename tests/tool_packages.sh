#!/usr/bin/env bash
# Every external command that the test, install, fuzz and benchmark scripts
# run must come from a Debian package that scripts/install-deps.sh installs
# for their make target, or from the minimal system itself: on a bare Debian
# with only make and git, a missing one fails the tests there.
#
# The scripts are parsed by shfmt; the first word of every simple command
# counts, wherever it stands ($(...), <(...), pipelines, functions, a
# here-document's substitutions), and so does the command env or timeout
# runs. Commands run through a variable ("$BINARY", "${run_as[@]}") or by
# their path (the project's own) are not seen.
#   tool_packages.sh SOURCE_DIR
set -euo pipefail
cd "$1"

# The commands of each package; "minbase" is what debootstrap
# --variant=minbase gives every Debian system. Add a command here when a
# script starts running it.
declare -A package_of
commands_of() {
  local package=$1
  shift
  for command in "$@"; do package_of[$command]=$package; done
}
commands_of minbase apt-cache apt-get awk basename bash cat chmod chown chroot cmp comm cp cut date dd \
  dirname dpkg-deb dpkg-query env find findmnt getconf grep head id ls mkdir mktemp mount mv \
  nproc od paste readlink mkfifo realpath rm sed seq setpriv setsid sleep sort stat tail tar tee \
  sha256sum timeout touch tr uniq unshare wc yes zcat
commands_of xvfb Xvfb
commands_of xdotool xdotool
commands_of x11-utils xwininfo xmessage xprop
commands_of x11-xserver-utils xrandr
commands_of x11-apps xwd
commands_of weston weston
commands_of xfwm4 xfwm4
commands_of openbox openbox
commands_of picom picom
commands_of mutter mutter
commands_of xdg-utils xdg-mime
commands_of shared-mime-info update-mime-database
commands_of cmake cmake cpack
commands_of g++ objdump strings # binutils
commands_of make make
commands_of git git
commands_of clang clang++
commands_of dpkg-dev dpkg-parsechangelog
commands_of desktop-file-utils desktop-file-validate update-desktop-database
commands_of man-db man
commands_of lintian lintian
commands_of appstream appstreamcli
commands_of devscripts hardening-check
commands_of valgrind valgrind
commands_of xrestop xrestop
commands_of debootstrap debootstrap
commands_of shfmt shfmt
commands_of jq jq
commands_of pipewire pipewire
commands_of wireplumber wireplumber
commands_of pipewire-bin pw-dump pw-metadata pw-profiler
commands_of dbus-daemon dbus-daemon
commands_of patch patch
commands_of binutils-mingw-w64-x86-64 x86_64-w64-mingw32-strip
commands_of zip zip
commands_of unzip unzip
commands_of nsis makensis

# syntax_tree FILE: shfmt's syntax tree of the script, parsed once.
parsed=$(mktemp -d)
trap 'rm -rf "$parsed"' EXIT
syntax_tree() {
  local tree="$parsed/${1//\//%}"
  [ -s "$tree" ] || shfmt -tojson <"$1" >"$tree"
  cat "$tree"
}

# run_by FILE...: "FILE LINE COMMAND" for each command the scripts run.
run_by() {
  for file in "$@"; do
    syntax_tree "$file" | jq -r --arg file "$file" '
      def skip_env: if length > 0 and (.[0] | startswith("-") or contains("="))
        then (if .[0] == "-u" then .[2:] else .[1:] end) | skip_env else . end;
      def skip_timeout: if length == 0 then .
        elif .[0] == "-k" or .[0] == "-s" then .[2:] | skip_timeout
        elif .[0] | startswith("-") then .[1:] | skip_timeout else .[1:] end;
      def run: if length == 0 or (.[0] | contains("$")) then empty
        elif .[0] == "exec" then .[1:] | run
        elif .[0] == "env" then .[0], (.[1:] | skip_env | run)
        elif .[0] == "timeout" then .[0], (.[1:] | skip_timeout | run)
        else .[0] end;
      .. | objects | select(.Type == "CallExpr") | .Pos.Line as $line
      | [.Args[]? | [.Parts[] | if .Type == "Lit" then .Value else "$" end] | join("")]
      | run | "\($file) \($line) \(.)"'
  done
}

# functions FILE...: the names of the shell functions the scripts declare.
functions() {
  for file in "$@"; do
    syntax_tree "$file" | jq -r '.. | objects | select(.Type == "FuncDecl") | .Name.Value'
  done
}

# The reader finds commands where the shell runs them, nothing in text,
# comments, case patterns or arithmetic, and the functions declared.
sample=$parsed/sample.sh
cat >"$sample" <<'SH'
# xcomment
a=1 b=$(xsub | xpipe "xtext") xfirst "$(xquoted)" <(xprocess) >/dev/null
if xif; then xthen; fi && xand || xor `xback`; for ((k = 0; k < xarith; k++)); do xloop; done
cat <<EOF
xheredoc $(xinheredoc)
EOF
case $1 in xpattern) xcase ;; esac
env -u DISPLAY X="$y" xenv arg; timeout -k 1 5 xtimeout; "$BINARY" x; ./own; exec xexec; myfunc() { xbody; }
SH
found=$(run_by "$sample" | awk '{print $3}' | sort | tr '\n' ' ')
expected="./own cat env timeout xand xback xbody xcase xenv xexec xfirst xif xinheredoc xloop xor \
xpipe xprocess xquoted xsub xthen xtimeout "
[ "$found" = "$expected" ] && [ "$(functions "$sample")" = myfunc ] ||
  { echo "the reader found: $found$(functions "$sample")" >&2; exit 1; }

failures=0
check() { # TARGET FILE...: the scripts of a make target (install-deps.sh's targets)
  local target=$1 installed
  shift
  installed=" $(scripts/install-deps.sh --list "$target" | tr '\n' ' ')"
  while read -r file line command; do
    case "$command" in */*) continue ;; esac
    [[ " $builtins " == *" $command "* || " $declared " == *" $command "* ]] && continue
    local package=${package_of[$command]:-}
    if [ -z "$package" ]; then
      echo "$file:$line: runs \`$command\`, which the table of tests/tool_packages.sh does not" \
        "name: add it there with its Debian package, and the package to install-deps.sh" >&2
    elif [ "$package" != minbase ] && [[ $installed != *" $package "* ]]; then
      echo "$file:$line: runs \`$command\` from the package $package, which" \
        "scripts/install-deps.sh does not install for make $target" >&2
    else
      continue
    fi
    failures=$((failures + 1))
  done < <(run_by "$@")
}
builtins=$(compgen -b -k | tr '\n' ' ')
scripts=(tests/*.sh tests/real/*.sh tests/windows/*.sh tools/*.sh dist/*.sh fuzz/*.sh bench/*.sh scripts/fresh-debian-test.sh
         scripts/build-allegro-windows.sh dist/windows/*.sh .ci/run)
declared=$(functions "${scripts[@]}" | tr '\n' ' ')
check test tests/*.sh tests/real/*.sh tools/xvfb_lib.sh tools/pipewire_lib.sh tools/desktop_lib.sh dist/*.sh fuzz/*.sh
check bench $(ls bench/*.sh | grep -v windows_cost)
check fresh scripts/fresh-debian-test.sh
check windows scripts/build-allegro-windows.sh dist/windows/package.sh
check windows-test tests/windows/*.sh tools/wine_lib.sh tools/xvfb_lib.sh bench/windows_cost.sh
check play .ci/run
[ "$failures" -eq 0 ] || exit 1
echo "ok: the commands of ${#scripts[@]} scripts are installed for their targets"
