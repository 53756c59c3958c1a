#!/usr/bin/env bash
# Builds closing-a-handle-plus-two.cpp and runs it under Wine on a fresh
# virtual screen, once closing the desktop's handle and once the window station's.
#   docs/platform/try-closing-a-handle-plus-two.sh [work folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The 64-bit build, under the 64-bit Wine that runs on every machine.
. "$here/../../scripts/wine-kind.sh"
wine=$(wine_loader 64)
wineserver=$(wine_server_program 64)
out=${1:-$(mktemp -d)}
mkdir -p "$out"
x86_64-w64-mingw32-g++-posix -O1 -static -o "$out/closing-a-handle-plus-two.exe" "$here/closing-a-handle-plus-two.cpp"

number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$number")" WINEPREFIX="$out/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -f "$number"
"$wine" wineboot -i >/dev/null 2>&1 || true
for what in desktop station; do
  echo "== $what"
  "$wine" "$out/closing-a-handle-plus-two.exe" "$what" 2>/dev/null
done
"$wineserver" -k || true
kill "$xvfb"
