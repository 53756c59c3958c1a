#!/usr/bin/env bash
# Brings a Debian 12 machine (run as root) to what the build and the tests need.
# Quiet and quick when everything is already there.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
# Both Windows programs are built everywhere; the 64-bit one and its tests run
# under 64-bit Wine. 32-bit Wine is installed only where the machine runs
# 32-bit code: elsewhere it would install but never start.
packages=(cmake make dpkg-dev g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
          libz-mingw-w64-dev zlib1g-dev googletest wine wine64 fonts-wine xvfb xauth g++ locales
          clang libclang-rt-14-dev llvm python3-aiosmtpd universal-ctags)
runs_32bit_code=0
if "$repo/scripts/runs-32bit-code.sh"; then
  runs_32bit_code=1
  packages+=(wine32:i386)
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

updated=0
update_failed=0
# A mirror being synced fails an index now and then: try again a little later,
# then go on with the lists there are (an index the set-up needs and cannot
# read makes its own step fail, with apt's message).
apt_update() {
  [ "$updated" = 0 ] || return 0
  updated=1
  local attempt
  for attempt in 1 2 3; do
    apt-get update -qq && return 0
    [ "$attempt" = 3 ] || sleep 20
  done
  update_failed=1
  echo "setup: apt-get update failed three times; going on with the package lists there are" >&2
}

# Runs apt-get quietly, keeping everything it says: on a failure it is shown
# whole (the unmet dependencies go to standard output).
apt_quiet() {
  local log rc=0
  log=$(mktemp)
  DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@" >"$log" 2>&1 || rc=$?
  [ "$rc" = 0 ] || { echo "setup: apt-get $1 failed:" >&2; cat "$log" >&2; }
  rm -f "$log"
  return "$rc"
}

# A set-up stopped in the middle of an install leaves packages unpacked but not
# configured, or dependencies missing: finish that before installing more.
repair_interrupted_install() {
  if [ -n "$(dpkg --audit 2>/dev/null)" ] || ! apt-get check -qq >/dev/null 2>&1; then
    echo "setup: finishing an install that was interrupted"
    dpkg --configure -a
    apt_quiet -f install
  fi
}

# When the lists could not all be updated, a suite whose index failed (the
# security suite's i386 list, say) can offer an amd64 package in a version whose
# i386 twin is missing, which multiarch cannot resolve; the release's own suite
# has both, so the install is tried once more from there.
apt_install() {
  local release
  if [ "$update_failed" = 1 ]; then
    apt_quiet install --no-install-recommends "$@" 2>/dev/null && return 0
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "setup: the install could not be resolved with the lists there are; trying once more from $release's own suite (its security updates then come only with a later apt-get upgrade)" >&2
    apt_quiet install --no-install-recommends -t "$release" "$@"
  else
    apt_quiet install --no-install-recommends "$@"
  fi
}

if [ "$runs_32bit_code" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

# Source entries let us fetch Debian's zlib source, whose contrib/minizip the build compiles.
src_list=/etc/apt/sources.list.d/qnpost-deb-src.sources
if [ ! -f "$src_list" ]; then
  cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  updated=0
fi

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt_update
  repair_interrupted_install
  apt_install "${missing[@]}"
fi

# The scripts run Wine with LANG=en_US.UTF-8, so that dates and day names are
# always written the same way: the locale must exist.
if ! locale -a 2>/dev/null | grep -qix 'en_US\.utf-\?8'; then
  echo "setup: generating the en_US.UTF-8 locale"
  if grep -q '^# *en_US.UTF-8 UTF-8' /etc/locale.gen; then
    sed -i 's/^# *en_US.UTF-8 UTF-8/en_US.UTF-8 UTF-8/' /etc/locale.gen
  elif ! grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'en_US.UTF-8 UTF-8' >> /etc/locale.gen
  fi
  locale-gen >/dev/null
fi

zlib_dir="$repo/.deps/zlib"
if [ ! -f "$zlib_dir/contrib/minizip/zip.c" ]; then
  echo "setup: fetching zlib source for minizip"
  apt_update
  work=$(mktemp -d)
  if ! (cd "$work" && apt-get source -qq --download-only zlib >/dev/null 2>&1 \
         && dpkg-source -x --no-check ./zlib_*.dsc zlib >/dev/null); then
    echo "setup: could not fetch Debian's zlib source (apt-get source zlib)" >&2
    rm -rf "$work"
    exit 1
  fi
  mkdir -p "$repo/.deps"
  rm -rf "$zlib_dir"
  mv "$work/zlib" "$zlib_dir"
  rm -rf "$work"
fi
