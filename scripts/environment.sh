# Sourced by the run, test and bench scripts: sets up what is missing, builds,
# starts a virtual screen unless told to use the caller's, and prepares a Wine
# prefix of the caller's own. Everything started here stops when the script exits.
#   prepare_environment PREFIX [use-own-display]
# They run the 64-bit program (build/win64) unless QN_WINDOWS_BITS=32 asks for
# the 32-bit one (build/win32), which runs only where 32-bit Wine starts. The
# tests use $win/wineprefix (where CTest runs them); the program and the
# benchmarks each have their own, so that stopping one never stops another's
# Wine processes. Leaves $repo, $build, $bits, $win and $wine_prefix set.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QN_BUILD_DIR:-$repo/build}
bits=${QN_WINDOWS_BITS:-64}
case $bits in
  64 | 32) ;;
  *) echo "QN_WINDOWS_BITS is 64 or 32, not $bits" >&2; exit 2 ;;
esac
win=$build/win$bits

. "$repo/scripts/xvfb.sh"
. "$repo/scripts/wine-prefix.sh"

prepare_environment() {
  wine_prefix=$1
  "$repo/scripts/setup.sh"
  QN_BUILD_DIR=$build "$repo/scripts/build.sh"
  if [ "$bits" = 32 ]; then
    local trouble
    trouble=$(wine32_trouble)
    if [ -n "$trouble" ]; then
      echo "The 32-bit program cannot run here: $trouble" >&2
      exit 1
    fi
  fi
  trap 'stop_wine; stop_xvfb' EXIT
  local screen=desktop
  if [ "${2:-}" != use-own-display ] || [ -z "${DISPLAY:-}" ]; then
    start_xvfb
    screen=bare-screen
  fi
  prepare_wine_prefix "$bits" "$wine_prefix" "$screen"
}

run_windows_program() {
  "$repo/scripts/wine-run.sh" "$wine_prefix" "$@"
}
