#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: the Windows test programs
# under Wine and the portable layer natively under the sanitizers, in one CTest
# run. Two Windows test programs run at a time, each on an Xvfb screen with a
# prefix of its own (scripts/test-screens.json). Arguments go to CTest.
set -euo pipefail
. "$(dirname "$0")/environment.sh"
prepare_environment "$build/win/wineprefix"
prepare_peer_prefix "$build/win/wineprefix"
start_xvfb
prepare_wine_prefix "$build/win/wineprefix-2" bare-screen
prepare_peer_prefix "$build/win/wineprefix-2"
cd "$build/win"
ctest -j "$(nproc)" --resource-spec-file "$repo/scripts/test-screens.json" --output-on-failure "$@"
