# Sourced by the run, test and bench scripts: makes a private Wine prefix of
# one kind (64 or 32 bits, scripts/wine-kind.sh) on first use and keeps its
# wineserver, with Wine's own services, alive for the run.
# The services are started here with their output sent away: started by a test,
# they would hold CTest's output pipe open and CTest would wait for ever.
# The prefix is tied to the screen it is prepared on (DISPLAY): its services
# show there, and scripts/wine-run.sh starts its programs there.
#   prepare_wine_prefix BITS PREFIX [bare-screen]
. "$(dirname "${BASH_SOURCE[0]}")/wine-kind.sh"

# Makes the prefix with the Wine of its kind, unless it is there; false, with
# a line saying why, when it is there but of the other kind, or when it
# cannot be made.
make_wine_prefix() {
  local bits=$1 prefix=$2 made
  made=$(prefix_bits "$prefix")
  if [ -n "$made" ] && [ "$made" != "$bits" ]; then
    echo "$prefix was made by $made-bit Wine and is not given to $bits-bit Wine: remove it to make it anew" >&2
    return 1
  fi
  [ -n "$made" ] && return 0
  echo "Preparing the $bits-bit Wine prefix in $prefix"
  mkdir -p "$prefix"
  (
    export WINEPREFIX=$prefix WINEARCH=$(wine_arch "$bits") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$(wine_loader "$bits")" wineboot -i </dev/null >/dev/null 2>&1 || true
    "$(wine_server_program "$bits")" -w || true
  )
  [ "$(prefix_bits "$prefix")" = "$bits" ] && return 0
  echo "$bits-bit Wine could not make a prefix in $prefix" >&2
  return 1
}

prepare_wine_prefix() {
  local bits=$1
  export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  QN_WINE_PREFIXES+=("$2")
  make_wine_prefix "$bits" "$WINEPREFIX" || return 1
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
  [ "${3:-}" = bare-screen ] && managed=N
  if ! grep -q "^\"Managed\"=\"$managed\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$(wine_loader "$bits")" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f \
      </dev/null >/dev/null 2>&1 || true
    timeout 60 "$(wine_server_program "$bits")" -w || true
  fi
  printf '%s\n' "$DISPLAY" >"$WINEPREFIX/.display"
  keep_wine_server "$WINEPREFIX"
}
# Starts the prefix's wineserver to stay for the run, with Wine's services, on
# the screen of DISPLAY.
keep_wine_server() {
  (
    local bits
    bits=$(prefix_bits "$1")
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$(wine_server_program "$bits")" -p </dev/null >/dev/null 2>&1 || true
    "$(wine_loader "$bits")" wineboot </dev/null >/dev/null 2>&1 || true
  )
}
# The tests that run two programs start the second under a peer prefix (each
# program needs a prefix of its own to be a first start): PREFIX-peer for a
# program of the test's own kind, PREFIX-peer32 or PREFIX-peer64 for one of
# the other kind. It is made here, once, for the same bare screen, and left
# with no server running.
#   prepare_peer_prefix BITS PEER-PREFIX
prepare_peer_prefix() {
  local bits=$1 peer=$2
  make_wine_prefix "$bits" "$peer" || return 1
  grep -q '^"Managed"="N"' "$peer/user.reg" 2>/dev/null && return 0
  (
    export WINEPREFIX=$peer WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$(wine_loader "$bits")" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
      </dev/null >/dev/null 2>&1 || true
    "$(wine_server_program "$bits")" -w || true
  )
}
# Stops the wineservers of the prefixes prepared here and nothing else: the
# tests, the program and the benchmarks run side by side, each in prefixes of
# their own.
stop_wine() {
  local prefix
  for prefix in ${QN_WINE_PREFIXES[@]+"${QN_WINE_PREFIXES[@]}"}; do
    wineserver_of_prefix "$prefix" -k 2>/dev/null || true
  done
}
