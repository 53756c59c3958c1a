# Sourced by the test script and by the runner of each test program (with
# xvfb.sh and wine-prefix.sh): the desktops of the test prefixes.
#
# Wine closes a desktop about a second after the last ordinary process on it
# has gone (the services that wineboot starts do not count), and the next
# program must then wait for a new one, which on a loaded machine can take
# long (docs/platform.md). So one holder
# (desktopholder.exe) stays on each test prefix's desktop from before the
# first test program to after the last, and a screen or desktop found gone
# between test programs is made again.
#
# Each prefix keeps its records beside its registry: the screen it shows on
# (.display), that screen's Xvfb (.xvfb-pid) and its holder (.holder-pid, and
# what the holder said in .holder.out).

holder_program() { echo "$(dirname "$1")/desktopholder.exe"; }

has_desktop_holder() { [ -f "$1/.holder-pid" ]; }

# Starts the prefix's holder and waits until it has seen its window on the
# screen; false, with the holder's own line, when it has not.
start_desktop_holder() {
  local prefix=$1 out="$1/.holder.out" pid tries=0
  : >"$out"
  setsid "$repo/scripts/wine-run.sh" --low-space-taken "$prefix" "$(holder_program "$prefix")" </dev/null >"$out" 2>/dev/null &
  pid=$!
  # Its end is seen by its process id: the shell that started it says nothing
  # of it when it is ended (by a test of the runner, say).
  disown "$pid"
  echo "$pid" >"$prefix/.holder-pid"
  while ! grep -q . "$out" && kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 1200 ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  grep -q '^ready' "$out" && return 0
  echo "the desktop of $prefix did not come: $(tr -d '\r' <"$out")" >&2
  return 1
}

stop_desktop_holder() {
  local pid tries=0
  pid=$(cat "$1/.holder-pid" 2>/dev/null) || return 0
  kill "$pid" 2>/dev/null || true
  while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
  rm -f "$1/.holder-pid"
}

holder_runs() {
  local pid
  pid=$(cat "$1/.holder-pid" 2>/dev/null) && kill -0 "$pid" 2>/dev/null
}

# Whether the prefix's screen and desktop answer: the holder still runs and a
# window made now shows on the screen, within the holder's brief wait (the
# default) or, with --full-check, the minute a test program waits.
desktop_answers() {
  holder_runs "$1" || return 1
  timeout 120 "$repo/scripts/wine-run.sh" --low-space-taken "$1" "$(holder_program "$1")" "${2:---check}" </dev/null >/dev/null 2>&1
}

screen_runs() {
  local pid
  pid=$(cat "$1/.xvfb-pid" 2>/dev/null) && kill -0 "$pid" 2>/dev/null
}

# Whether Wine's desktop process of the prefix (its explorer.exe /desktop)
# runs.
desktop_process_runs() {
  local cmdline
  for cmdline in /proc/[0-9]*/cmdline; do
    grep -qa 'explorer\.exe.*/desktop' "$cmdline" 2>/dev/null || continue
    tr '\0' '\n' <"${cmdline%/cmdline}/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$1" && return 0
  done
  return 1
}

# Whether the prefix's Wine server runs: a server works in the folder Wine
# names by the prefix's device and inode, and steps into the prefix itself
# for a moment to write the registry. A program whose server has ended waits
# for its answers for ever, as do the desktop's processes.
wine_server_runs() {
  local folder prefix pid cwd
  folder=$(printf 'server-%x-%x' $(stat -c '%d %i' "$1" 2>/dev/null)) || return 1
  prefix=$(readlink -f "$1")
  for pid in $(pgrep wineserver); do
    cwd=$(readlink "/proc/$pid/cwd" 2>/dev/null)
    [ "$(basename "$cwd")" = "$folder" ] || [ "$cwd" = "$prefix" ] && return 0
  done
  return 1
}

# Ends the Wine processes of a prefix whose server has ended: nothing answers
# them any more, and the desktop's process among them would pass for a working
# one.
end_orphaned_wine_processes() {
  local exe pid
  for exe in /proc/[0-9]*/exe; do
    case $(readlink "$exe" 2>/dev/null) in
      */wine | */wine64 | */wine-preloader | */wine64-preloader) ;;
      *) continue ;;
    esac
    pid=${exe#/proc/}
    pid=${pid%/exe}
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$1" && kill -9 "$pid" 2>/dev/null
  done
}

# After a test program has failed: why the prefix's screen or desktop is
# lost, in a few words (and true), or nothing (false) while they work. A
# screen, holder or desktop process found gone says so at once; else a window
# made now must show within the minute a test program gives its own first
# window, so that a slow answer on a loaded machine is not taken for a lost
# desktop.
desktop_lost_cause() {
  if ! screen_runs "$1"; then
    echo "its screen (Xvfb on $(cat "$1/.display" 2>/dev/null)) has gone"
  elif ! wine_server_runs "$1"; then
    echo "the Wine server of its prefix has gone"
  elif ! holder_runs "$1"; then
    echo "the holder of its desktop has gone"
  elif ! desktop_process_runs "$1"; then
    echo "its desktop's process (explorer.exe /desktop) has gone"
  elif ! desktop_answers "$1" --full-check; then
    echo "a window made did not show on its screen within a minute"
  else
    return 1
  fi
}

# A new screen on the prefix's display, in place of one that has gone or does
# not answer.
restart_screen() {
  local pid
  pid=$(cat "$1/.xvfb-pid" 2>/dev/null) && kill "$pid" 2>/dev/null
  pid=$(restart_xvfb_on "$(cat "$1/.display")") || {
    echo "no screen could be started again on $(cat "$1/.display")" >&2
    return 1
  }
  echo "$pid" >"$1/.xvfb-pid"
}

# Makes the prefix's desktop again, with its Wine server and services, and the
# screen too when it has gone or the desktop does not come without it.
remake_desktop() {
  local prefix=$1 attempt
  wine_server_runs "$prefix" || end_orphaned_wine_processes "$prefix"
  # A program a test started in the peer prefix may be left there by a test
  # program that was ended.
  local peer
  for peer in "$prefix"-peer*; do
    [ -d "$peer" ] && { wineserver_of_prefix "$peer" -k 2>/dev/null || true; }
  done
  for attempt in 1 2; do
    stop_desktop_holder "$prefix"
    wineserver_of_prefix "$prefix" -k 2>/dev/null || true
    WINEPREFIX=$prefix timeout 60 "$(wine_server_program "$(prefix_bits "$prefix")")" -w || true
    if ! screen_runs "$prefix" || [ "$attempt" = 2 ]; then
      restart_screen "$prefix" || return 1
    fi
    (
      export DISPLAY
      DISPLAY=$(cat "$prefix/.display")
      keep_wine_server "$prefix"
    )
    start_desktop_holder "$prefix" && return 0
  done
  return 1
}

# Ends the holders, then the prefixes' servers, then the screens that were
# started again during the run (the caller stops its own with stop_xvfb).
stop_test_desktops() {
  local prefix
  for prefix in ${QN_WINE_PREFIXES[@]+"${QN_WINE_PREFIXES[@]}"}; do
    stop_desktop_holder "$prefix"
  done
  stop_wine
  for prefix in ${QN_WINE_PREFIXES[@]+"${QN_WINE_PREFIXES[@]}"}; do
    if [ -f "$prefix/.xvfb-pid" ]; then
      kill "$(cat "$prefix/.xvfb-pid")" 2>/dev/null || true
      rm -f "$prefix/.xvfb-pid"
    fi
  done
}
