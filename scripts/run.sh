#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Quillnet+ under Wine. Without a
# display of its own, the program gets a virtual screen (Xvfb).
set -euo pipefail
. "$(dirname "$0")/environment.sh"
prepare_environment "$build/win/wineprefix-run" use-own-display
if [ -n "${XVFB_PID:-}" ]; then
  echo "Quillnet+ runs on the virtual screen DISPLAY=$DISPLAY (see README.md, 'Seeing the program')"
fi
run_windows_program "$build/win/qnpost.exe" "$@"
