# Sourced by the run and test scripts: starts an Xvfb screen at 24 bits
# (the 8-bit default changes colours and layered windows) and exports DISPLAY.
# Xvfb picks a free display number itself, so parallel runs never collide.
# The caller stops every screen it started with stop_xvfb.
start_xvfb() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  XVFB_PIDS="${XVFB_PIDS:-} $!"
  local tries=0
  while [ ! -s "$number_file" ] && [ "$tries" -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
  if [ ! -s "$number_file" ]; then
    echo "Xvfb did not start" >&2
    rm -f "$number_file"
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file"
}
stop_xvfb() {
  local pid
  for pid in ${XVFB_PIDS:-}; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
