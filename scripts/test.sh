#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: the Windows test programs
# under Wine (with one Xvfb screen) and the portable layer natively under the
# sanitizers, in one CTest run. Arguments go to CTest.
set -euo pipefail
. "$(dirname "$0")/environment.sh"
prepare_environment "$build/win/wineprefix"
prepare_peer_prefix "$build/win/wineprefix"
cd "$build/win"
ctest -j "$(nproc)" --output-on-failure "$@"
