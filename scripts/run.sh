#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Quillnet+ under Wine. Without a
# display of its own, the program gets a virtual screen (Xvfb).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${QN_BUILD_DIR:-$repo/build}
"$repo/scripts/setup.sh"
QN_BUILD_DIR=$build "$repo/scripts/build.sh"

. "$repo/scripts/xvfb.sh"
. "$repo/scripts/wine-prefix.sh"
trap 'stop_wine; stop_xvfb' EXIT
[ -n "${DISPLAY:-}" ] || start_xvfb
prepare_wine_prefix "$build/win/wineprefix"
"$repo/scripts/wine-run.sh" "$build/win/wineprefix" "$build/win/qnpost.exe" "$@"
