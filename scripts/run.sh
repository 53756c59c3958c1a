#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Quillnet+ under Wine: the 64-bit
# program, or the 32-bit one with QN_WINDOWS_BITS=32. Without a
# display of its own, the program gets a virtual screen (Xvfb).
set -euo pipefail
. "$(dirname "$0")/environment.sh"
prepare_environment "$win/wineprefix-run" use-own-display
# The program runs from a drive of its own, Q:, that names its build folder. Wine
# names a folder by the deepest drive that holds it, so the data files keep
# short paths wherever the repository lies: reached through Z:, a deep folder
# gives them paths of more than 100 characters, and the program stops at a box
# for each such path at its start.
ln -sfn "$win" "$wine_prefix/dosdevices/q:"
if [ -n "${XVFB_PIDS:-}" ]; then
  echo "Quillnet+ runs on the virtual screen DISPLAY=$DISPLAY (see README.md, 'Seeing the program')"
fi
cd "$win"
run_windows_program 'Q:\qnpost.exe' "$@"
