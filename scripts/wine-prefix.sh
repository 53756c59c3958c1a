# Sourced by the run, test and bench scripts: makes a private Wine prefix on
# first use and keeps its wineserver, with Wine's own services, alive for the run.
# The services are started here with their output sent away: started by a test,
# they would hold CTest's output pipe open and CTest would wait for ever.
# The prefix is tied to the screen it is prepared on (DISPLAY): its services
# show there, and scripts/wine-run.sh starts its programs there.
#   prepare_wine_prefix PREFIX [bare-screen]
prepare_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  QN_WINE_PREFIXES+=("$1")
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
  # A screen without a window manager never reports a window withdrawn, and Wine
  # waits two seconds for that at every hidden or destroyed window it leaves to a
  # window manager. On such a screen Wine places the windows itself. Each Wine
  # process reads this when it starts: the services (explorer, which hides its
  # tray window when the last tray icon goes) must start after it is written,
  # so the processes of the change end before the services are started below.
  local managed=Y
  [ "${2:-}" = bare-screen ] && managed=N
  if ! grep -q "^\"Managed\"=\"$managed\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f </dev/null >/dev/null 2>&1 || true
    timeout 60 wineserver -w || true
  fi
  printf '%s\n' "$DISPLAY" >"$WINEPREFIX/.display"
  keep_wine_server "$WINEPREFIX"
}
# Starts the prefix's wineserver to stay for the run, with Wine's services, on
# the screen of DISPLAY.
keep_wine_server() {
  (
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine wineboot </dev/null >/dev/null 2>&1 || true
  )
}
# The tests that run two programs start the second under PREFIX-peer (each
# program needs a prefix of its own to be a first start). It is made here, once,
# for the same bare screen, and left with no server running.
#   prepare_peer_prefix PREFIX
prepare_peer_prefix() {
  grep -q '^"Managed"="N"' "$1-peer/user.reg" 2>/dev/null && return 0
  (
    export WINEPREFIX=$1-peer WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    wine wineboot -i </dev/null >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
    wineserver -w || true
  )
}
# Stops the wineservers of the prefixes prepared here and nothing else: the
# tests, the program and the benchmarks run side by side, each in prefixes of
# their own.
stop_wine() {
  local prefix
  for prefix in ${QN_WINE_PREFIXES[@]+"${QN_WINE_PREFIXES[@]}"}; do
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  done
}
