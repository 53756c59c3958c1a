# Sourced by the run and test scripts: starts an Xvfb screen at 24 bits
# (the 8-bit default changes colours and layered windows) and exports DISPLAY
# (and XVFB_PID, its server).
# Xvfb picks a free display number itself, so parallel runs never collide.
# The caller stops every screen it started with stop_xvfb.
xvfb_arguments=(-screen 0 1024x768x24 -nolisten tcp)
start_xvfb() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 "${xvfb_arguments[@]}" 3>"$number_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  XVFB_PIDS="${XVFB_PIDS:-} $XVFB_PID"
  if ! wait_for_display_number "$number_file"; then
    echo "Xvfb did not start" >&2
    rm -f "$number_file"
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file"
}
# Xvfb writes its display number once it takes connections.
wait_for_display_number() {
  local tries=0
  while [ ! -s "$1" ] && [ "$tries" -lt 300 ]; do sleep 0.1; tries=$((tries + 1)); done
  [ -s "$1" ]
}
# A screen again on the display whose server has gone (DISPLAY=:N given), in
# a session of its own, so that it outlives the test that found it gone; its
# process id is printed. Stopped like the others through the caller's records.
restart_xvfb_on() {
  local number_file pid
  number_file=$(mktemp)
  setsid Xvfb "$1" -displayfd 3 "${xvfb_arguments[@]}" 3>"$number_file" </dev/null >/dev/null 2>&1 &
  pid=$!
  if ! wait_for_display_number "$number_file"; then
    kill "$pid" 2>/dev/null || true
    rm -f "$number_file"
    return 1
  fi
  rm -f "$number_file"
  echo "$pid"
}
stop_xvfb() {
  local pid
  for pid in ${XVFB_PIDS:-}; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}
