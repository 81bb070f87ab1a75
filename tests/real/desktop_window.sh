#!/usr/bin/env bash
# The game under a desktop's window manager, as players run it: DESKTOP is
# xfwm4 (with its compositor) or openbox (with picom), each on Xvfb with a
# 60 Hz vblank, or GNOME's mutter or KDE's KWin, headless, the game an X
# client of their XWayland. The window opens centred on the monitor at scale 3, its
# pixels the picture on show (xwd of the window); F11 fills the monitor
# and comes back, ten times, the keyboard focus kept by the game; another
# window taking the focus pauses play and P resumes it; the game recorded
# there verifies.
USAGE="BUILD_DIR xfwm4|openbox|mutter|kwin"
source "$(dirname "$0")/xvfb_lib.sh"
DESKTOP=${2:-}
build_folder "${1:-}" "desktop_$DESKTOP"
case $DESKTOP in xfwm4 | openbox | mutter | kwin) ;; *) echo "usage: $0 $USAGE" >&2 && exit 2 ;; esac
MANAGER_PIDS=()
trap 'stop_manager; cleanup' EXIT

# The manager's and its compositor's settings in a home of their own.
mkdir -p "$WORK/home" && export HOME=$WORK/home NO_AT_BRIDGE=1

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
# command ends: its pid and those in $WORK/x.
start_compositor() {
  start_bus "$WORK/bus"
  MANAGER_PIDS+=("$BUS_PID")
  mkdir -m 700 "$WORK/runtime"
  printf '%s\n' '#!/bin/sh' "echo \"\$\$ \$DISPLAY \$XAUTHORITY\" >'$WORK/x.part' && mv '$WORK/x.part' '$WORK/x'" \
    'exec sleep 600' >"$WORK/report"
  chmod +x "$WORK/report"
  DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/bus XDG_RUNTIME_DIR=$WORK/runtime QT_QPA_PLATFORM=offscreen \
    "$@" >"$WORK/manager.log" 2>&1 &
  MANAGER_PIDS+=($!)
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

# shoot NAME [x y w h] [probe options]: from xwd of the window (what the
# compositor shows of it); x and y on the screen.
shoot() {
  xwd -silent -id "$WINDOW" -out "$WORK/$1.xwd" || return 1
  if [ $# -ge 5 ]; then
    "$XWD_PROBE" "$WORK/$1.xwd" $(($2 - WIN_X)) $(($3 - WIN_Y)) "${@:4}" --png "$WORK/$1.png"
  else
    "$XWD_PROBE" "$WORK/$1.xwd" "${@:2}" --png "$WORK/$1.png"
  fi
}

# centred: the window is 960 x 720 and its centre lies on the monitor's,
# give or take its decorations (a title bar shifts it down).
centred() {
  placed 960 720 && [ $((WIN_X + 480 - 960)) -ge -16 ] && [ $((WIN_X + 480 - 960)) -le 16 ] &&
    [ $((WIN_Y + 360 - 540)) -ge -8 ] && [ $((WIN_Y + 360 - 540)) -le 40 ]
}

# focused: the game's window holds the keyboard focus.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$WINDOW" ]; }

case $DESKTOP in xfwm4 | openbox) start_xvfb ;; esac
start_manager
use_file_sound
copy_data "$DATA"
export SWARMFIRE_LAST_FRAME=$WORK/last.pcx
REC=$WORK/game.sfr FEED=$WORK/feed
started=$SECONDS

SWARMFIRE_PLAY_FEED=$FEED open_game --record "$REC"
wait_until 5 centred || fail "the window at (${WIN_X:-}, ${WIN_Y:-}) ${WIN_W:-}x${WIN_H:-}, not 960x720 centred on 1920x1080"
echo "$DESKTOP: the window at ($WIN_X, $WIN_Y)"
start_play

for switch in $(seq 10); do
  tap F11
  at_place 5 1920 1080 0 0
  tap F11
  wait_until 5 centred || fail "switch $switch: back at (${WIN_X:-}, ${WIN_Y:-}) ${WIN_W:-}x${WIN_H:-}, not centred"
  wait_until 2 focused || fail "switch $switch: the focus went to $(xdotool getwindowfocus getwindowname 2>&1)"
done
playing || fail "play stopped over the ten switches"

take_focus_away
wait_until 5 paused focus-gone || fail "the game did not pause with the focus gone"
kill "$OTHER_PID" && wait "$OTHER_PID" 2>/dev/null || true
xdotool windowactivate "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
wait_until 5 focused || fail "the focus did not come back"
paused focus-back || fail "play went on before P"
tap p 0.1
wait_until 3 playing || fail "P did not resume"
tap p 0.1
wait_until 5 paused paused-end || fail "P did not pause again"
close_window
like_last_frame paused-end 0 0 3
verifies "*" "the recording made under $DESKTOP"
echo "PASS: under $DESKTOP: centred, ten F11 both ways with the focus kept, focus pause, P, $VERIFIED ($((SECONDS - started)) s)"
