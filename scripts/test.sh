#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: the Windows test programs
# under Wine and the portable layer natively under the sanitizers, in one CTest
# run. Two Windows test programs run at a time, each on an Xvfb screen with a
# prefix of its own (scripts/test-screens.json), whose desktop a holder keeps
# for the whole run (scripts/test-desktop.sh). Arguments go to CTest.
set -euo pipefail
. "$(dirname "$0")/environment.sh"
. "$repo/scripts/test-desktop.sh"
prepare_environment "$build/win/wineprefix"
trap 'stop_test_desktops; stop_xvfb' EXIT
echo "$XVFB_PID" >"$build/win/wineprefix/.xvfb-pid"
prepare_peer_prefix "$build/win/wineprefix"
start_xvfb
prepare_wine_prefix "$build/win/wineprefix-2" bare-screen
echo "$XVFB_PID" >"$build/win/wineprefix-2/.xvfb-pid"
prepare_peer_prefix "$build/win/wineprefix-2"
for prefix in "$build/win/wineprefix" "$build/win/wineprefix-2"; do
  start_desktop_holder "$prefix" || remake_desktop "$prefix"
done
cd "$build/win"
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
# A case that the machine's timing kept a passing test from meeting.
unseen=$(grep -h '^\[ NOT SEEN  \] ' Testing/Temporary/LastTest.log 2>/dev/null || true)
if [ -n "$unseen" ]; then
  echo "Not met in this run:"
  echo "$unseen"
fi
exit "$status"
