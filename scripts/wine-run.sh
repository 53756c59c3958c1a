#!/usr/bin/env bash
# Runs one Windows program under Wine in a private prefix, on the screen the
# prefix was prepared on, with the Wine of the prefix's kind:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
. "$(dirname "$0")/wine-kind.sh"
prefix=$1
shift
bits=$(prefix_bits "$prefix")
if [ -z "$bits" ]; then
  echo "wine-run.sh: $prefix is not a prepared Wine prefix" >&2
  exit 1
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
exec "$(wine_loader "$bits")" "$@"
