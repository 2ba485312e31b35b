#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Safe to run again:
# it only calls apt-get when something is missing.
#
# Both Windows programs are built on every machine. The 32-bit Wine (wine32,
# an i386 package) is installed only where this machine can execute 32-bit
# x86 programs (scripts/can-run-x86.sh runs one to find out); elsewhere
# nothing of i386 is added and Wine runs as wine64 alone.
#
# A failure names the package and apt's reason. wine32 is wanted, not
# needed: when it cannot be installed (an i386 index the mirror serves
# broken, say) set-up says so and goes on; the 32-bit tests are then not run.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)

needed=(
  wine wine64
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  cmake ninja-build meson pkg-config
  autoconf automake libtool dpkg-dev
  xvfb xauth xdotool x11-apps imagemagick
  doctest-dev fonts-wine libxml2-dev libgumbo-dev libmodest-dev python3-pil
  clang libclang-rt-14-dev
  python3 python3-jsonschema python3-yaml
  nsis
)
wanted=()
if "$here/can-run-x86.sh" --quiet; then
  wanted+=(wine32:i386)
fi

installed() {
  case "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" in
    *"install ok installed"*) return 0 ;;
    *) return 1 ;;
  esac
}

missing=()
for p in "${needed[@]}"; do installed "$p" || missing+=("$p"); done
missing_wanted=()
for p in "${wanted[@]}"; do installed "$p" || missing_wanted+=("$p"); done
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_wanted[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo

if [ ${#missing_wanted[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "setup: installing ${missing[*]} ${missing_wanted[*]}" >&2
# A mirror in the middle of a sync fails an index now and then; try again
# before going on with what was fetched (install then says what it lacks).
# For wine32 alone one try: a broken i386 index should not cost every run
# a minute and a half of waiting.
tries=4
[ ${#missing[@]} -eq 0 ] && tries=1
for attempt in $(seq $tries); do
  $SUDO apt-get update -qq && break
  [ $attempt -eq $tries ] && { echo "setup: apt-get update failed; going on with the lists it fetched" >&2; break; }
  sleep $((attempt * 15))
done

apt_install() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@"
}

# apt's answer for one package alone: what it would do, or why it cannot.
why_not() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -s -qq --no-install-recommends "$1" 2>&1 |
    grep -E '^(E:| [^ ].*: (Depends|PreDepends|Breaks|Conflicts))|Depends:|not installable|but it is not|has no installation candidate|Unable to locate' |
    sed 's/^/    /' | head -n 12 || true
}

if [ ${#missing[@]} -gt 0 ]; then
  log=$(mktemp)
  if ! apt_install "${missing[@]}" >"$log" 2>&1; then
    echo "setup: apt-get install failed:" >&2
    grep -E '^(E|W):' "$log" | sed 's/^/    /' >&2 || tail -n 20 "$log" >&2
    # One package at a time, so the message names the ones that block.
    for p in "${missing[@]}"; do
      installed "$p" && continue
      if ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -s -qq --no-install-recommends "$p" >/dev/null 2>&1; then
        echo "setup: package $p cannot be installed:" >&2
        why_not "$p" >&2
      fi
    done
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
fi

for p in "${missing_wanted[@]}"; do
  if ! apt_install "$p" >/dev/null 2>&1; then
    echo "setup: $p could not be installed, so the 32-bit program will be built but not run here:" >&2
    why_not "$p" >&2
  fi
done
exit 0
