#!/usr/bin/env bash
# Brings a Debian 12 machine (run as root) to what the build and the tests need.
# Quiet and quick when everything is already there.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
packages=(cmake make dpkg-dev g++-mingw-w64-i686 mingw-w64-i686-dev libz-mingw-w64-dev zlib1g-dev
          googletest wine wine32:i386 fonts-wine xvfb xauth g++ locales
          clang libclang-rt-14-dev llvm python3-aiosmtpd)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

updated=0
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
  echo "setup: apt-get update failed three times; going on with the package lists there are" >&2
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
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
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
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
