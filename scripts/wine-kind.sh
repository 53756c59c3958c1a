# Sourced by the scripts that start Wine: the two kinds of Windows program and
# the Wine that runs each. The 64-bit program is built in build/win64 and runs
# under 64-bit Wine on every machine; the 32-bit one is built in build/win32
# and runs under 32-bit Wine, which starts only where the machine runs 32-bit
# code. Debian's /usr/bin/wine starts the 32-bit loader whenever wine32 is
# installed, even where it cannot run, so every start names its loader.
# A prefix belongs to the kind of Wine that made it (its registry says
# "#arch=win32" or "#arch=win64") and is never handed to the other.
# Run as a command it prints one answer:
#   wine-kind.sh loader PREFIX     the loader of the prefix's kind
#   wine-kind.sh server PREFIX     its Wine server program
#   wine-kind.sh loader 32|64      the loader of that kind of program, which a
#                                  64-bit prefix runs either kind of
#   wine-kind.sh wine32-trouble    why 32-bit Wine cannot start, or nothing

wine_loader() {
  case $1 in
    64) echo /usr/lib/wine/wine64 ;;
    32) echo /usr/lib/wine/wine ;;
  esac
}

wine_server_program() {
  case $1 in
    64) echo /usr/lib/wine/wineserver64 ;;
    32) echo /usr/lib/wine/wineserver32 ;;
  esac
}

wine_arch() {
  case $1 in
    64) echo win64 ;;
    32) echo win32 ;;
  esac
}

# The kind of Wine that made the prefix, from its registry; nothing for a
# prefix not made yet.
prefix_bits() {
  case $(grep -m 1 '^#arch=' "$1/system.reg" 2>/dev/null) in
    '#arch=win64') echo 64 ;;
    '#arch=win32') echo 32 ;;
  esac
}

# Runs the prefix's own Wine server program (-k, -w, -p), whichever kind
# made it; the 64-bit one for a prefix not made yet.
wineserver_of_prefix() {
  local prefix=$1 bits
  shift
  bits=$(prefix_bits "$prefix")
  WINEPREFIX=$prefix "$(wine_server_program "${bits:-64}")" "$@"
}

# Why the 32-bit Wine cannot start here, in a few words, or nothing when it
# starts. Decided by starting it, not by the packages installed: a machine
# whose kernel runs 64-bit code only installs wine32 but refuses to run it.
wine32_trouble() {
  local loader said
  loader=$(wine_loader 32)
  if [ ! -x "$loader" ]; then
    echo "32-bit Wine is not installed ($loader)"
    return
  fi
  if ! said=$("$loader" --version 2>&1); then
    # The shell's own words end with the system's: "Exec format error".
    said=$(printf '%s\n' "$said" | tail -n 1)
    echo "32-bit Wine does not start on this machine: \"$loader --version\" says \"${said##*: }\""
  fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case ${1:-} in
    loader | server)
      case $2 in
        32 | 64) bits=$2 ;;
        *) bits=$(prefix_bits "$2") ;;
      esac
      [ -n "$bits" ] || { echo "wine-kind.sh: no Wine prefix in $2" >&2; exit 1; }
      if [ "$1" = loader ]; then wine_loader "$bits"; else wine_server_program "$bits"; fi ;;
    wine32-trouble) wine32_trouble ;;
    *) echo "usage: wine-kind.sh loader|server PREFIX | wine32-trouble" >&2; exit 2 ;;
  esac
fi
