# Sourced by the run and test scripts: makes the build's private Wine prefix on
# first use and keeps one wineserver, with Wine's own services, alive for the run.
# The services are started here with their output sent away: started by a test,
# they would hold CTest's output pipe open and CTest would wait for ever.
prepare_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # Debian's Wine leaves its own TrueType fonts (Tahoma and the others of the
  # fonts-wine package) out of the font list; in the prefix's Fonts folder it finds them.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ]; then
    for font in /usr/share/wine/fonts/*.ttf; do
      [ -e "$font" ] && [ ! -e "$fonts/$(basename "$font")" ] && ln -s "$font" "$fonts/" || true
    done
  fi
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine wineboot </dev/null >/dev/null 2>&1 || true
}
stop_wine() { wineserver -k 2>/dev/null || true; }
