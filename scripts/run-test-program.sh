#!/usr/bin/env bash
# Runs one Windows test program for CTest (the build's test emulator):
#   run-test-program.sh PREFIX PROGRAM [ARGS...]
# A program that CTest gave screen N of scripts/test-screens.json runs in
# PREFIX-N (screen 1 keeps PREFIX itself), on the screen that prefix was
# prepared on.
# - In a run of the test script, the prefix's screen and desktop are checked
#   to answer before the program, and made again when they have gone. A
#   program that ran without a working desktop runs once more, and the log
#   says what was seen: the program said so at its start (exit code 75), or,
#   after it failed, its screen, its prefix's Wine server (watched while the
#   program runs: a program whose server has gone never ends) or its
#   desktop's process had gone, or a window made then did not show within the
#   minute the program's own check waits.
#   A qnpost.exe still running in the prefix, left by an earlier program
#   that was stopped, is ended first, and the log says so.
#   One that failed with a working desktop never runs again: its failures
#   stand.
# - It runs with the address space below 4 GB taken (scripts/wine-run.sh),
#   through a starter that ends it when the starter is ended.
# - Its output reaches CTest through a file, so that nothing it leaves running
#   can hold CTest's output open and keep the run waiting.
# - A program whose tests have ended but which has not ended itself a minute
#   later is reported, with what its threads wait on, and ended.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/xvfb.sh"
. "$repo/scripts/wine-prefix.sh"
. "$repo/scripts/test-desktop.sh"

prefix=$1
shift
screen=${CTEST_RESOURCE_GROUP_0_SCREENS:-}
screen=${screen#id:}
screen=${screen%%,*}
if [ -n "$screen" ] && [ "$screen" != 1 ]; then
  prefix=$prefix-$screen
fi
name=$(basename "$1")
# The exit code of a test program that found no working desktop at its start
# (tests/support/DesktopCheck.h).
no_desktop_exit=75
# The program's own check waits 60 s for its window to show.
desktop_limit=90
ending_limit=60
# How the log ends the line of a failure that stands (the test script leaves
# it out of what passing programs did more than once).
not_run_again="its failures stand and it is not run again"

say() { echo "run-test-program: $name: $*"; }

# The processes of the program in the prefix other than the one given: the
# program itself, where the one given is the starter that took its low space.
program_processes() {
  local pid
  for pid in $(pgrep -f -- "$name"); do
    [ "$pid" != "$1" ] || continue
    case $(readlink "/proc/$pid/exe" 2>/dev/null) in
      */wine64 | */wine | */wine64-preloader | */wine-preloader) ;;
      *) continue ;;
    esac
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$prefix" && echo "$pid"
  done
}

# What the threads of a program that does not end wait on, as Linux sees them
# (the program's own report, made while its threads ran, comes before this).
report_hung_end() {
  local pid=$1 process task
  echo "[  HUNG    ] $name has not ended ${ending_limit} s after its last test; its threads:"
  for process in $(program_processes "$pid") "$pid"; do
    for task in /proc/"$process"/task/*; do
      echo "  thread ${task##*/} ($(cat "$task/comm" 2>/dev/null)): $(cut -d' ' -f3 "$task/stat" 2>/dev/null)" \
           "in $(cat "$task/wchan" 2>/dev/null)"
    done
  done
}

# Runs the program once, its output streamed from a file; its exit code. The
# program marks the end of its desktop check and of its tests.
run_once() {
  local output marks pid follower code=0 started_at=$SECONDS ended_at="" watch_server=""
  # In a run of the test script the prefix's server stays for the whole run.
  if has_desktop_holder "$prefix"; then
    watch_server=yes
  fi
  output=$(mktemp)
  marks=$(mktemp -u)
  QN_TEST_MARKS="Z:${marks//\//\\}" "$repo/scripts/wine-run.sh" --low-space-taken "$prefix" "$@" </dev/null >"$output" 2>&1 &
  pid=$!
  tail -n +1 -s 0.2 -f --pid="$pid" "$output" &
  follower=$!
  while kill -0 "$pid" 2>/dev/null; do
    if [ ! -e "$marks.desktop" ] && [ $((SECONDS - started_at)) -ge "$desktop_limit" ]; then
      echo "[ NO DESKTOP ] $name did not get past its start in ${desktop_limit} s: Wine holds a program" \
           "there while the desktop's process does not answer"
      kill -9 "$pid" 2>/dev/null
      code=$no_desktop_exit
      break
    fi
    # Looked at twice, a moment apart, so that a server caught between two
    # folders is not taken for one that has gone.
    if [ -n "$watch_server" ] && ! wine_server_runs "$prefix" && sleep 1 && ! wine_server_runs "$prefix"; then
      echo "[ NO DESKTOP ] the Wine server of ${name}'s prefix ended while it ran: nothing answers the program" \
           "any more, and it would wait for ever"
      kill -9 "$pid" 2>/dev/null
      code=1
      break
    fi
    if [ -z "$ended_at" ] && [ -e "$marks.ended" ]; then
      ended_at=$SECONDS
    elif [ -n "$ended_at" ] && [ $((SECONDS - ended_at)) -ge "$ending_limit" ]; then
      report_hung_end "$pid"
      kill -9 "$pid" 2>/dev/null
      code=3
      break
    fi
    sleep 0.5
  done
  if [ "$code" = 0 ]; then
    wait "$pid" || code=$?
  else
    wait "$pid" 2>/dev/null
  fi
  wait "$follower" 2>/dev/null
  rm -f "$output" "$marks.desktop" "$marks.ended"
  return "$code"
}

# A program under test that an earlier test program left running in this
# prefix (that one was stopped at its time limit, and its children were not)
# would take every start of this program's tests for a second start of its
# own, and those would fail for it.
end_programs_left_running() {
  local pid
  for pid in $(pgrep -f 'qnpost\.exe'); do
    if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$prefix"; then
      say "qnpost.exe (process $pid) was left running in its prefix by an earlier program; it is ended first"
      kill -9 "$pid" 2>/dev/null
    fi
  done
}

# A Wine program started with no server would start a new one, and the
# desktop's processes of the old one would still be waiting for theirs.
if has_desktop_holder "$prefix" && { ! wine_server_runs "$prefix" || ! desktop_answers "$prefix"; }; then
  say "the screen or desktop of its prefix did not answer; they are made again"
  remake_desktop "$prefix" || say "they could not be made again"
fi
end_programs_left_running
run_once "$@"
code=$?
if [ "$code" != 0 ] && has_desktop_holder "$prefix"; then
  if [ "$code" = "$no_desktop_exit" ]; then
    lost="it had no working desktop at its start (exit code $code)"
  else
    lost=$(desktop_lost_cause "$prefix")
  fi
  if [ -z "$lost" ]; then
    say "failed (exit code $code) with a working desktop; $not_run_again"
  else
    say "ran without a working desktop: $lost; the desktop is made again and the program runs once more"
    remake_desktop "$prefix" || say "the desktop could not be made again"
    run_once "$@"
    code=$?
  fi
fi
exit "$code"
