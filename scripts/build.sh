#!/usr/bin/env bash
# Builds the native layer (sanitizers, build-time tools), the fuzz programs and
# the Windows program with its tests; or only the trees named:
#   build.sh [native] [fuzz] [win]
# The build folder is ./build unless QN_BUILD_DIR says otherwise.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${QN_BUILD_DIR:-$repo/build}
jobs=$(nproc)
trees=("$@")
[ "${#trees[@]}" -gt 0 ] || trees=(native fuzz win)

for tree in "${trees[@]}"; do
  case $tree in
    native)
      cmake -S "$repo" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 >/dev/null ;;
    fuzz)
      cmake -S "$repo" -B "$build/fuzz" -DQN_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null ;;
    win)
      cmake -S "$repo" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-i686.cmake" \
            -DQN_NATIVE_BUILD_DIR="$build/native" -DQN_FUZZ_BUILD_DIR="$build/fuzz" >/dev/null ;;
    *) echo "build.sh: no tree called $tree (native, fuzz, win)" >&2; exit 2 ;;
  esac
  cmake --build "$build/$tree" -j "$jobs"
done
