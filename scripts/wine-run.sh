#!/usr/bin/env bash
# Runs one Windows program under Wine in a private prefix, on the screen the
# prefix was prepared on:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# A test program that CTest gave screen N of scripts/test-screens.json runs in
# PREFIX-N instead (screen 1 keeps PREFIX itself).
prefix=$1
shift
screen=${CTEST_RESOURCE_GROUP_0_SCREENS:-}
screen=${screen#id:}
screen=${screen%%,*}
if [ -n "$screen" ] && [ "$screen" != 1 ]; then
  prefix=$prefix-$screen
fi
export WINEPREFIX=$prefix
if [ -f "$prefix/.display" ]; then
  DISPLAY=$(cat "$prefix/.display")
  export DISPLAY
fi
export WINEDEBUG=-all
export LANG=en_US.UTF-8
# No Mono or Gecko prompts when a prefix is first made.
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
