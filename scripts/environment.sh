# Sourced by the run, test and bench scripts: sets up what is missing, builds,
# starts a virtual screen unless told to use the caller's, and prepares a Wine
# prefix of the caller's own. Everything started here stops when the script exits.
#   prepare_environment PREFIX [use-own-display]
# The tests use build/win/wineprefix (where CTest runs them); the program and the
# benchmarks each have their own, so that stopping one never stops another's
# Wine processes. Leaves $repo, $build and $wine_prefix set.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QN_BUILD_DIR:-$repo/build}

. "$repo/scripts/xvfb.sh"
. "$repo/scripts/wine-prefix.sh"

prepare_environment() {
  wine_prefix=$1
  "$repo/scripts/setup.sh"
  QN_BUILD_DIR=$build "$repo/scripts/build.sh"
  trap 'stop_wine; stop_xvfb' EXIT
  local screen=desktop
  if [ "${2:-}" != use-own-display ] || [ -z "${DISPLAY:-}" ]; then
    start_xvfb
    screen=bare-screen
  fi
  prepare_wine_prefix "$wine_prefix" "$screen"
}

run_windows_program() {
  "$repo/scripts/wine-run.sh" "$wine_prefix" "$@"
}
