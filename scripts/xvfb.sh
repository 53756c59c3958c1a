# Sourced by the run and test scripts: starts one Xvfb screen at 24 bits
# (the 8-bit default changes colours and layered windows) and exports DISPLAY.
# The caller stops it with stop_xvfb.
start_xvfb() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  local tries=0
  while [ ! -e "/tmp/.X11-unix/X$n" ] && [ "$tries" -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
  export DISPLAY=":$n"
}
stop_xvfb() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null || true; }
