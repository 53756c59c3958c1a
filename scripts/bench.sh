#!/usr/bin/env bash
# Builds the program and runs every benchmark under Wine; each prints its figures.
set -euo pipefail
. "$(dirname "$0")/environment.sh"
prepare_environment "$build/win/wineprefix-bench" >/dev/null
for source in "$repo"/bench/*.cpp; do
  name=$(basename "$source" .cpp)
  echo "== $name"
  run_windows_program "$build/win/$name.exe"
done
