#!/usr/bin/env bash
# Runs one Windows program under Wine in a private prefix, on the screen the
# prefix was prepared on, with the Wine of the prefix's kind:
#   wine-run.sh [--low-space-taken] PREFIX PROGRAM [ARGS...]
# With --low-space-taken a 64-bit program starts through lowspacestart.exe of
# the prefix's build folder (tests/harness/LowSpaceStart.cpp), which takes the
# address space below 4 GB before the program runs, so that its heaps and the
# memory it allocates lie above 4 GB, as on 64-bit Windows.
. "$(dirname "$0")/wine-kind.sh"
low_space_taken=""
if [ "${1:-}" = --low-space-taken ]; then
  low_space_taken=yes
  shift
fi
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
if [ -n "$low_space_taken" ] && [ "$bits" = 64 ]; then
  set -- "$(dirname "$prefix")/lowspacestart.exe" "$@"
fi
exec "$(wine_loader "$bits")" "$@"
