#!/usr/bin/env bash
# Builds closing-a-handle-plus-two.cpp and runs it under Wine on a fresh
# virtual screen, once closing the desktop's handle and once the window station's.
#   docs/platform/try-closing-a-handle-plus-two.sh [work folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$(mktemp -d)}
mkdir -p "$out"
i686-w64-mingw32-g++-posix -O1 -static -o "$out/closing-a-handle-plus-two.exe" "$here/closing-a-handle-plus-two.cpp"

number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$number")" WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -f "$number"
wine wineboot -i >/dev/null 2>&1 || true
for what in desktop station; do
  echo "== $what"
  wine "$out/closing-a-handle-plus-two.exe" "$what" 2>/dev/null
done
wineserver -k || true
kill "$xvfb"
