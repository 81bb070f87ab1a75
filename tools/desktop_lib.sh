# The desktops that players run, for the tests and benchmarks of the game
# under them (after xvfb_lib.sh): start_desktop_of DESKTOP starts xfwm4 with
# its compositor or openbox with picom on an Xvfb server, or mutter or KWin
# headless with their XWayland, DISPLAY set to it; stop_manager (on exit)
# ends them. The shoot of xvfb_lib.sh becomes xwd of the game's window.
trap 'stop_manager; cleanup' EXIT

# start_desktop_of DESKTOP: the X server and the window manager, their
# settings in a home of their own.
start_desktop_of() {
  DESKTOP=$1
  mkdir -p "$WORK/home" && export HOME=$WORK/home NO_AT_BRIDGE=1
  case $DESKTOP in xfwm4 | openbox) start_xvfb ;; esac
  start_manager
}

MANAGER_PIDS=()
# start_manager: the desktop's window manager (and compositor) on the X
# server, running once it owns the screen's manager selection.
start_manager() {
  case $DESKTOP in
    xfwm4)
      # Its settings daemon (xfconfd) on a bus of our own.
      start_bus "$WORK/bus"
      MANAGER_PIDS+=("$BUS_PID")
      DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/bus xfwm4 --compositor=on --vblank=xpresent \
        >"$WORK/manager.log" 2>&1 &
      MANAGER_PIDS+=($!)
      ;;
    openbox)
      openbox --sm-disable >"$WORK/manager.log" 2>&1 &
      MANAGER_PIDS+=($!)
      wait_until 10 manager_running || fail "openbox did not start: $(tail -n 5 "$WORK/manager.log")"
      picom --backend xrender >"$WORK/compositor.log" 2>&1 &
      MANAGER_PIDS+=($!)
      ;;
    mutter)
      start_compositor mutter --headless --wayland --virtual-monitor 1920x1080 -- "$WORK/report"
      ;;
    kwin)
      # A copy of the binary: the file capability of Debian's
      # (cap_sys_resource) is refused in a container. Breeze draws its
      # decorations.
      cp /usr/bin/kwin_wayland "$WORK/kwin_wayland"
      start_compositor "$WORK/kwin_wayland" --virtual --width 1920 --height 1080 --xwayland \
        --socket swarmfire-test --exit-with-session "$WORK/report"
      ;;
  esac
  wait_until 10 manager_running || fail "$DESKTOP did not start: $(tail -n 5 "$WORK/manager.log")"
  wait_until 10 compositing || fail "no compositor runs with $DESKTOP"
}
# start_compositor COMMAND...: a Wayland compositor on its own bus and
# runtime folder. It starts XWayland on the first free display and runs the
# command $WORK/report with DISPLAY and XAUTHORITY set, ending when that
# command ends: its pid and those in $WORK/x. COMPOSITOR_PID: the
# compositor's.
start_compositor() {
  start_bus "$WORK/bus"
  MANAGER_PIDS+=("$BUS_PID")
  mkdir -m 700 "$WORK/runtime"
  printf '%s\n' '#!/bin/sh' "echo \"\$\$ \$DISPLAY \$XAUTHORITY\" >'$WORK/x.part' && mv '$WORK/x.part' '$WORK/x'" \
    'exec sleep 600' >"$WORK/report"
  chmod +x "$WORK/report"
  DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/bus XDG_RUNTIME_DIR=$WORK/runtime QT_QPA_PLATFORM=offscreen \
    "$@" >"$WORK/manager.log" 2>&1 &
  COMPOSITOR_PID=$!
  MANAGER_PIDS+=("$COMPOSITOR_PID")
  wait_until 20 test -s "$WORK/x" || fail "$DESKTOP gave no X display: $(tail -n 5 "$WORK/manager.log")"
  read -r reporter DISPLAY XAUTHORITY <"$WORK/x"
  export DISPLAY XAUTHORITY
  [ -n "$XAUTHORITY" ] || unset XAUTHORITY
  MANAGER_PIDS=("$reporter" "${MANAGER_PIDS[@]}")
  NO_POINTER=1
}
manager_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
compositing() { "$X_CLIENT" compositor >/dev/null 2>&1; }
stop_manager() {
  for pid in "${MANAGER_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
}

# loose_cadence SECONDS WHERE: the frames of play seen through Present for
# SECONDS, printed as "play under WHERE: ...", at least half of them held one
# refresh: loosely, since a compositor painting with a software renderer on
# a shared machine holds some a refresh longer.
loose_cadence() {
  local cadence frames one
  cadence=$("$BUILD/present_watch" cadence "$WINDOW" "$1") || fail "no frames seen: $cadence"
  echo "play under $2: $cadence"
  read -r frames one <<<"$(awk '{print $4, $6}' <<<"$cadence")"
  [[ $cadence == "method present"* ]] || fail "the frames do not go through Present: $cadence"
  [ $((one * 100)) -ge $((frames * 50)) ] || fail "only $one of $frames frames held one refresh"
}

# shoot NAME [x y w h] [probe options]: from xwd of the window (what the
# compositor shows of it; XWayland keeps no frame buffer file); x and y on
# the screen.
shoot() {
  xwd -silent -id "$WINDOW" -out "$WORK/$1.xwd" || return 1
  if [ $# -ge 5 ]; then
    "$XWD_PROBE" "$WORK/$1.xwd" $(($2 - WIN_X)) $(($3 - WIN_Y)) "${@:4}" --png "$WORK/$1.png"
  else
    "$XWD_PROBE" "$WORK/$1.xwd" "${@:2}" --png "$WORK/$1.png"
  fi
}

