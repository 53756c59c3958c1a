#!/usr/bin/env bash
# Builds overlapping-windows.cpp, runs it under Wine on a fresh virtual screen
# and reads a pixel of the box three ways: "xwd -root", ImageMagick's
# "import -window root", and the screen's own memory (Xvfb's -fbdir file).
# Needs Debian's x11-apps, x11-utils and imagemagick besides what scripts/setup.sh brings.
#   docs/platform/try-overlapping-windows.sh [folder for the pictures]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The 64-bit build, under the 64-bit Wine that runs on every machine.
. "$here/../../scripts/wine-kind.sh"
wine=$(wine_loader 64)
wineserver=$(wine_server_program 64)
out=${1:-$(mktemp -d)}
mkdir -p "$out/screen"
for tool in xwd xwininfo import; do
  command -v "$tool" >/dev/null || { echo "needs $tool (apt-get install x11-apps x11-utils imagemagick)" >&2; exit 2; }
done
x86_64-w64-mingw32-g++-posix -O1 -static -o "$out/overlapping-windows.exe" "$here/overlapping-windows.cpp"

number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -fbdir "$out/screen" 3>"$number" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$number")" WINEPREFIX="$out/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -f "$number"
"$wine" wineboot -i >/dev/null 2>&1 || true
"$wine" "$out/overlapping-windows.exe" >/dev/null 2>&1 &
sleep 4

# The box, by its title, among the screen's windows.
read -r width height left top < <(xwininfo -root -tree | sed -n 's/.*"Over": .* \([0-9]*\)x\([0-9]*\)+\([0-9]*\)+\([0-9]*\) .*/\1 \2 \3 \4/p' | head -n 1)
x=$((left + 5)) y=$((top + 5))
xwd -root -silent | convert xwd:- "$out/xwd-root.png"
import -window root "$out/import.png"
convert "xwd:$out/screen/Xvfb_screen0" "$out/screen-memory.png"
for picture in xwd-root import screen-memory; do
  echo "$picture: $(convert "$out/$picture.png" -crop "1x1+$x+$y" txt:- | tail -n 1 | awk '{print $3}')"
done
echo "pictures in $out"
"$wineserver" -k || true
kill "$xvfb"
