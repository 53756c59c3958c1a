#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: the Windows test programs
# under Wine (with one Xvfb screen) and the portable layer natively under the
# sanitizers, in one CTest run.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${QN_BUILD_DIR:-$repo/build}
"$repo/scripts/setup.sh"
QN_BUILD_DIR=$build "$repo/scripts/build.sh"

. "$repo/scripts/xvfb.sh"
. "$repo/scripts/wine-prefix.sh"
trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
prepare_wine_prefix "$build/win/wineprefix"

cd "$build/win"
ctest -j "$(nproc)" --output-on-failure "$@"
