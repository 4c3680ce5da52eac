# Sourced, not run. start_private_pulse [LOG]: starts a PulseAudio sound
# server of its own, in a new private folder, with one null sink "heard"
# (what is played there can be recorded from "heard.monitor"). Exports
# PULSE_SERVER and PULSE_COOKIE so that every client started from here on
# uses it and keeps nothing in the user's folders, and sets
# PRIVATE_PULSE_PID and PRIVATE_PULSE_DIR. Returns 1 when the server does not
# come up within 10 s; the caller ends PRIVATE_PULSE_PID either way.
start_private_pulse() {
  local log=${1:-/dev/null}
  PRIVATE_PULSE_DIR=$(mktemp -d)
  chmod 700 "$PRIVATE_PULSE_DIR"
  # No display and no session bus, so that it launches no D-Bus of its own.
  env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
    XDG_RUNTIME_DIR="$PRIVATE_PULSE_DIR" HOME="$PRIVATE_PULSE_DIR" \
    pulseaudio -n --daemonize=no --use-pid-file=no --system=no --exit-idle-time=-1 \
    --disallow-exit --realtime=no --high-priority=no --disable-shm=yes \
    -L "module-null-sink sink_name=heard" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$PRIVATE_PULSE_DIR/native" \
    >"$log" 2>&1 &
  PRIVATE_PULSE_PID=$!
  export PULSE_SERVER=unix:$PRIVATE_PULSE_DIR/native PULSE_COOKIE=$PRIVATE_PULSE_DIR/cookie
  local i
  for i in $(seq 100); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
