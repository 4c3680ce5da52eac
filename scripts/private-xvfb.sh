# Sourced, not run. start_private_xvfb [LOG]: starts Xvfb on a display
# number it picks itself, exports DISPLAY and sets PRIVATE_XVFB_PID.
# Returns 1 when Xvfb does not come up within 10 s.
start_private_xvfb() {
  local log=${1:-/dev/null} display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >"$log" 2>&1 &
  PRIVATE_XVFB_PID=$!
  local i
  for i in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  if [ ! -s "$display_file" ]; then
    rm -f "$display_file"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"
}
