#!/usr/bin/env bash
# Builds the native layer (sanitizers, build-time tools) and the Windows program
# with its tests. The build folder is ./build unless QN_BUILD_DIR says otherwise.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${QN_BUILD_DIR:-$repo/build}
jobs=$(nproc)

cmake -S "$repo" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 >/dev/null
cmake --build "$build/native" -j "$jobs"

cmake -S "$repo" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-i686.cmake" \
      -DQN_NATIVE_BUILD_DIR="$build/native" >/dev/null
cmake --build "$build/win" -j "$jobs"
