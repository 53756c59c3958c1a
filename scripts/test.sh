#!/usr/bin/env bash
# Sets up what is missing, builds both Windows programs, and runs every test:
# the Windows test programs under Wine and the portable layer natively under
# the sanitizers, in one CTest run. The test programs are the 64-bit ones, run
# under 64-bit Wine, unless QN_WINDOWS_BITS=32 asks for the 32-bit ones, on a
# machine that runs 32-bit code. Two Windows test programs run at a time, each
# on an Xvfb screen with a prefix of its own (scripts/test-screens.json), whose
# desktop a holder keeps for the whole run (scripts/test-desktop.sh).
# Arguments go to CTest.
set -euo pipefail
. "$(dirname "$0")/environment.sh"
. "$repo/scripts/test-desktop.sh"
prepare_environment "$win/wineprefix"
trap 'stop_test_desktops; stop_xvfb' EXIT
echo "$XVFB_PID" >"$win/wineprefix/.xvfb-pid"
start_xvfb
prepare_wine_prefix "$bits" "$win/wineprefix-2" bare-screen
echo "$XVFB_PID" >"$win/wineprefix-2/.xvfb-pid"
for prefix in "$win/wineprefix" "$win/wineprefix-2"; do
  prepare_peer_prefix "$bits" "$prefix-peer"
  start_desktop_holder "$prefix" || remake_desktop "$prefix"
done
cd "$win"
status=0
ctest -j "$(nproc)" --resource-spec-file "$repo/scripts/test-screens.json" --output-on-failure "$@" || status=$?
# CTest shows the output of failed tests only: what passing ones needed twice
# (a desktop made again, a driving step tried again) is told here; a failure
# that stands is not among them.
again=$(grep -h -E '^(run-test-program: |\[ TRY AGAIN \] |\[ NO DESKTOP \] )' Testing/Temporary/LastTest.log 2>/dev/null |
        grep -v 'its failures stand and it is not run again$' || true)
if [ -n "$again" ]; then
  echo "Done more than once in this run:"
  echo "$again"
fi
# The checks of the two kinds against each other need 32-bit Wine.
if [ "$bits" = 64 ]; then
  trouble=$(wine32_trouble)
  if [ -n "$trouble" ]; then
    echo "The checks of the 32-bit program against the 64-bit one (CrossKinds.*) did not run: $trouble"
  fi
fi
exit "$status"
