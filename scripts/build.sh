#!/usr/bin/env bash
# Builds the native layer (sanitizers, build-time tools), the fuzz programs and
# the two Windows programs; or only the trees named:
#   build.sh [native] [fuzz] [win64] [win32]
# win64 is the 64-bit program with its test programs, desktop holder and
# benchmarks; win32 the 32-bit program, with its test programs only where
# 32-bit Wine starts (scripts/wine-kind.sh). The build folder is ./build
# unless QN_BUILD_DIR says otherwise.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/wine-kind.sh"
build=${QN_BUILD_DIR:-$repo/build}
jobs=$(nproc)
trees=("$@")
[ "${#trees[@]}" -gt 0 ] || trees=(native fuzz win64 win32)

configure_windows() {
  local tree=$1 toolchain=$2 tests=$3
  cmake -S "$repo" -B "$build/$tree" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/$toolchain.cmake" -DQN_WINDOWS_TESTS="$tests" \
        -DQN_NATIVE_BUILD_DIR="$build/native" -DQN_FUZZ_BUILD_DIR="$build/fuzz" \
        -DQN_OTHER_KIND_DIR="$4" >/dev/null
}

for tree in "${trees[@]}"; do
  case $tree in
    native)
      cmake -S "$repo" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 >/dev/null ;;
    fuzz)
      cmake -S "$repo" -B "$build/fuzz" -DQN_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null ;;
    win64)
      configure_windows win64 mingw-x86_64 ON "$build/win32" ;;
    win32)
      tests=ON
      [ -z "$(wine32_trouble)" ] || tests=OFF
      configure_windows win32 mingw-i686 "$tests" "$build/win64" ;;
    *) echo "build.sh: no tree called $tree (native, fuzz, win64, win32)" >&2; exit 2 ;;
  esac
  cmake --build "$build/$tree" -j "$jobs"
done
