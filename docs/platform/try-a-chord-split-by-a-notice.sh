#!/usr/bin/env bash
# Builds a-chord-split-by-a-notice.cpp and runs it under Wine on a fresh
# virtual screen with no window manager, as the tests have it. WINEDEBUG may be
# given (+keyboard shows Wine setting its key state to X's).
#   docs/platform/try-a-chord-split-by-a-notice.sh [work folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The 64-bit build, under the 64-bit Wine that runs on every machine.
. "$here/../../scripts/wine-kind.sh"
wine=$(wine_loader 64)
wineserver=$(wine_server_program 64)
out=${1:-$(mktemp -d)}
mkdir -p "$out"
x86_64-w64-mingw32-g++-posix -std=c++17 -O1 -static -o "$out/a-chord-split-by-a-notice.exe" \
  "$here/a-chord-split-by-a-notice.cpp" -lgdi32

number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
trace=${WINEDEBUG:--all}
export DISPLAY=":$(head -n 1 "$number")" WINEPREFIX="$out/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -f "$number"
"$wine" wineboot -i >/dev/null 2>&1 || true
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
"$wineserver" -w || true
WINEDEBUG=$trace "$wine" "$out/a-chord-split-by-a-notice.exe"
"$wineserver" -k || true
kill "$xvfb"
