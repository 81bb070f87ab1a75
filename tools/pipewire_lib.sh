# A private PipeWire as Debian's desktops run it: Debian's pipewire with its
# own configuration, wireplumber as the session manager, and the game's ALSA
# default device the pipewire-alsa plugin. Its one sink is the emulated
# card, opened by PipeWire's ALSA sink by name, so the card's clock and log
# measure the whole way: game -> pipewire-alsa -> PipeWire's graph -> card.
# Everything lives in $WORK/pipewire (its XDG_RUNTIME_DIR, configuration and
# state); nothing touches the session's own PipeWire, if there is one.
# Sourced after xvfb_lib.sh; stop_pipewire runs on exit.

PIPEWIRE_PIDS=()

# start_pipewire LIBRARY NAME: the daemon and the session manager, the card
# writing $WORK/NAME.raw and $WORK/NAME.log, and the sink ready; the game
# started after it plays into it.
start_pipewire() {
  local dir=$WORK/pipewire
  rm -rf "$dir" "$WORK/$2.raw" "$WORK/$2.log"
  mkdir -p "$dir/runtime" "$dir/config/pipewire/pipewire.conf.d" "$dir/state"
  chmod 700 "$dir/runtime"
  printf '%s\n' "pcm_type.emulated_card { lib \"$1\" }" \
    "pcm.emulated { type emulated_card stream \"$WORK/$2.raw\" log \"$WORK/$2.log\" }" >"$dir/card.conf"
  cat >"$dir/config/pipewire/pipewire.conf.d/emulated-card.conf" <<'EOF'
context.objects = [
  { factory = adapter
    args = {
      factory.name = api.alsa.pcm.sink
      node.name = "emulated_card"
      node.description = "Emulated sound card"
      media.class = "Audio/Sink"
      api.alsa.path = "emulated"
      api.alsa.disable-mmap = true
      audio.channels = 2
      audio.position = [ FL FR ]
      priority.session = 2000
      priority.driver = 2000
      session.suspend-timeout-seconds = 0
    }
  }
]
EOF
  # No Bluetooth: its monitor needs logind, and wireplumber ends when that
  # is missing (a chroot, a container).
  mkdir -p "$dir/config/wireplumber/bluetooth.lua.d"
  echo 'bluez_monitor.enabled = false' >"$dir/config/wireplumber/bluetooth.lua.d/51-no-bluetooth.lua"
  export XDG_RUNTIME_DIR=$dir/runtime XDG_CONFIG_HOME=$dir/config XDG_STATE_HOME=$dir/state
  export PIPEWIRE_RUNTIME_DIR=$dir/runtime
  unset PIPEWIRE_REMOTE
  # A session bus of its own, as a desktop session has one.
  start_bus "$dir/runtime/bus"
  PIPEWIRE_PIDS+=("$BUS_PID")
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$dir/runtime/bus
  ALSA_CONFIG_PATH=$dir/card.conf pipewire >"$dir/pipewire.log" 2>&1 &
  PIPEWIRE_PIDS+=($!)
  wait_until 10 test -S "$dir/runtime/pipewire-0" || fail "PipeWire did not start: $(tail -n 5 "$dir/pipewire.log")"
  wireplumber >"$dir/wireplumber.log" 2>&1 &
  PIPEWIRE_PIDS+=($!)
  wait_until 20 default_sink_is emulated_card ||
    fail "the emulated card is not PipeWire's default sink: $(tail -n 5 "$dir/pipewire.log" "$dir/wireplumber.log")"
  # The game's ALSA default device: PipeWire, as pipewire-alsa makes it.
  sound_device 'pcm.!default { type pipewire }' 'ctl.!default { type pipewire }'
}

# default_sink_is NODE: whether wireplumber has made the node the default sink.
default_sink_is() {
  pw-metadata -n default 2>/dev/null | grep -q "default.audio.sink.*\"name\":\"$1\""
}

stop_pipewire() {
  [ ${#PIPEWIRE_PIDS[@]} -eq 0 ] && return 0
  kill "${PIPEWIRE_PIDS[@]}" 2>/dev/null || true
  wait "${PIPEWIRE_PIDS[@]}" 2>/dev/null || true
  PIPEWIRE_PIDS=()
}

# game_stream FIELD: a figure of the game's stream as PipeWire has it
# (pw-dump): "latency" (what pipewire-alsa asked for, frames/rate),
# "quantum" (the graph's, from its settings), "rate".
game_stream() {
  pw-dump 2>/dev/null | jq -r --arg f "$1" '
    (map(select(.type == "PipeWire:Interface:Node" and
                .info.props["media.class"] == "Stream/Output/Audio" and
                (.info.props["application.name"] // "" | test("\\[swarmfire"))))[0].info.props) as $p
    | if $f == "latency" then $p["node.latency"]
      elif $f == "rate" then $p["node.rate"]
      else $p[$f] end // empty'
}

# graph_quantum: the quantum PipeWire's graph runs at, in frames at the
# graph's rate, the median of two seconds of its profiler's cycles.
graph_quantum() {
  local dir=$WORK/pipewire/profiler rate
  mkdir -p "$dir"
  (cd "$dir" && timeout 2 pw-profiler -o "$dir/profiler.log" >/dev/null 2>&1) || true
  rate=$(pw-metadata -n settings 0 clock.rate 2>/dev/null | sed -n "s/.*value:'\([0-9]*\)'.*/\1/p")
  awk '$4 > 0 {print $4}' "$dir/profiler.log" 2>/dev/null | sort -n |
    awk -v r="${rate:-48000}" '{ v[NR] = $1 } END { if (NR) printf "%.0f\n", v[int((NR + 1) / 2)] * r / 1e6 }'
}
