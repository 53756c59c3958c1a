#!/usr/bin/env bash
# Runs one Windows program under Wine in a private prefix, on the screen the
# prefix was prepared on:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
prefix=$1
shift
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
