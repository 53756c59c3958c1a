#!/usr/bin/env bash
# Builds the program and runs every benchmark under Wine; each prints its figures.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${QN_BUILD_DIR:-$repo/build}
"$repo/scripts/setup.sh"
QN_BUILD_DIR=$build "$repo/scripts/build.sh" >/dev/null

. "$repo/scripts/xvfb.sh"
. "$repo/scripts/wine-prefix.sh"
trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
prepare_wine_prefix "$build/win/wineprefix"
for source in "$repo"/bench/*.cpp; do
  name=$(basename "$source" .cpp)
  echo "== $name"
  "$repo/scripts/wine-run.sh" "$build/win/wineprefix" "$build/win/$name.exe"
done
