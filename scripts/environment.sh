# Sourced by the run, test and bench scripts: sets up what is missing, builds,
# starts a virtual screen unless told to use the caller's, and prepares the
# build's Wine prefix. Everything started here stops when the script exits.
#   prepare_environment [use-own-display]
# Leaves $repo and $build set.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QN_BUILD_DIR:-$repo/build}

. "$repo/scripts/xvfb.sh"
. "$repo/scripts/wine-prefix.sh"

prepare_environment() {
  "$repo/scripts/setup.sh"
  QN_BUILD_DIR=$build "$repo/scripts/build.sh"
  trap 'stop_wine; stop_xvfb' EXIT
  if [ "${1:-}" != use-own-display ] || [ -z "${DISPLAY:-}" ]; then
    start_xvfb
  fi
  prepare_wine_prefix "$build/win/wineprefix"
}

run_windows_program() {
  "$repo/scripts/wine-run.sh" "$build/win/wineprefix" "$@"
}
