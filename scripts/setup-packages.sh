#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  wine wine32:i386 wine64
  g++-mingw-w64-i686-posix mingw-w64-tools
  cmake ninja-build meson pkg-config
  autoconf automake libtool dpkg-dev
  xvfb xauth xdotool x11-apps imagemagick
  doctest-dev fonts-wine libxml2-dev libgumbo-dev libmodest-dev python3-pil
  clang libclang-rt-14-dev
  python3
  nsis
)

missing=()
for p in "${packages[@]}"; do
  name=${p%%:*}
  arch=${p#*:}; [ "$arch" = "$p" ] && arch=""
  if [ -n "$arch" ]; then
    status=$(dpkg-query -W -f='${Status}' "$name:$arch" 2>/dev/null || true)
  else
    status=$(dpkg-query -W -f='${Status}' "$name" 2>/dev/null || true)
  fi
  case "$status" in *"install ok installed"*) ;; *) missing+=("$p") ;; esac
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "setup: installing ${missing[*]}" >&2
# A mirror in the middle of a sync fails an index now and then; try again
# before going on with what was fetched (install then says what it lacks).
for attempt in 1 2 3 4; do
  $SUDO apt-get update -qq && break
  [ $attempt -eq 4 ] && { echo "setup: apt-get update kept failing; going on with the lists it fetched" >&2; break; }
  sleep $((attempt * 15))
done
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
