#!/usr/bin/env bash
# Builds pixman and cairo as static libraries for one Windows architecture
# from Debian's source packages. Rebuilds only what is missing.
#
#   scripts/build-deps.sh ARCH [DIR]
#
# ARCH is i686 or x86_64; the libraries go to DIR/ARCH/prefix (DIR defaults
# to build/deps), the source tarballs, shared by both, to DIR/src.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-}
case "$arch" in
  i686) cpu_family=x86 ;;
  x86_64) cpu_family=x86_64 ;;
  *) echo "usage: scripts/build-deps.sh i686|x86_64 [DIR]" >&2; exit 2 ;;
esac
deps=$(mkdir -p "${2:-$root/build/deps}" && cd "${2:-$root/build/deps}" && pwd)
work="$deps/$arch"
prefix="$work/prefix"
host=$arch-w64-mingw32
jobs=$(nproc)

if [ -f "$prefix/lib/libcairo.a" ] && [ -f "$prefix/lib/libpixman-1.a" ]; then
  exit 0
fi

mkdir -p "$deps/src" "$deps/apt/lists/partial" "$prefix"
# The libraries' own compiler warnings are not ours to fix; they go to a log
# that is shown only when the build fails.
log="$work/build.log"
: > "$log"
trap 'status=$?; if [ $status -ne 0 ]; then tail -n 40 "$log" >&2; echo "deps: build failed, see $log" >&2; fi' EXIT

# A private apt configuration for the source entries, so the machine's own
# sources.list is left alone.
fetch_sources() {
  local conf="$deps/apt/sources.list"
  local suite
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  cat > "$conf" <<SRC
deb-src http://deb.debian.org/debian $suite main
deb-src http://deb.debian.org/debian-security $suite-security main
SRC
  local opts=(-o "Dir::Etc::SourceList=$conf" -o Dir::Etc::SourceParts=/dev/null
              -o "Dir::State::Lists=$deps/apt/lists" -o APT::Sandbox::User=root)
  # As for the packages: a mirror mid-sync fails an index now and then.
  local attempt
  for attempt in 1 2 3 4; do
    apt-get "${opts[@]}" update -qq && break
    [ $attempt -eq 4 ] && echo "setup: source index update kept failing; going on" >&2
    [ $attempt -lt 4 ] && sleep $((attempt * 15))
  done
  # pixman's .diff.gz is sometimes missing from the mirror; the orig tarball
  # is all we use, so a failed fetch of the rest is not fatal.
  (cd "$deps/src" && apt-get "${opts[@]}" source --download-only "$@" >/dev/null 2>&1) || true
}

pix_tar=$(ls "$deps"/src/pixman_*.orig.tar.* 2>/dev/null | head -n1 || true)
cairo_tar=$(ls "$deps"/src/cairo_*.orig.tar.* 2>/dev/null | head -n1 || true)
if [ -z "$pix_tar" ] || [ -z "$cairo_tar" ]; then
  fetch_sources cairo pixman
  pix_tar=$(ls "$deps"/src/pixman_*.orig.tar.* 2>/dev/null | head -n1 || true)
  cairo_tar=$(ls "$deps"/src/cairo_*.orig.tar.* 2>/dev/null | head -n1 || true)
  [ -n "$pix_tar" ] || { echo "deps: could not fetch Debian's source package pixman (deb-src of $(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}") unreachable?)" >&2; exit 1; }
  [ -n "$cairo_tar" ] || { echo "deps: could not fetch Debian's source package cairo (deb-src of $(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}") unreachable?)" >&2; exit 1; }
fi

# --- pixman (meson) ---------------------------------------------------------
if [ ! -f "$prefix/lib/libpixman-1.a" ]; then
  rm -rf "$work/pixman" && mkdir -p "$work/pixman"
  tar xf "$pix_tar" -C "$work/pixman" --strip-components=1
  cd "$work/pixman"
  # Its meson file marks symbols dllexport even in a static build, which would
  # make our exe export every pixman_* function.
  sed -i "s/^if host_machine.system() == 'windows'\$/if host_machine.system() == 'windows' and get_option('default_library') != 'static'/" meson.build
  cat > cross.txt <<CROSS
[binaries]
c = '$host-gcc-posix'
cpp = '$host-g++-posix'
ar = '$host-ar'
strip = '$host-strip'
windres = '$host-windres'
pkgconfig = 'pkg-config'

[host_machine]
system = 'windows'
cpu_family = '$cpu_family'
cpu = '$arch'
endian = 'little'
CROSS
  meson setup _b --cross-file cross.txt --prefix "$prefix" --libdir lib \
    --buildtype release -Ddefault_library=static -Dtests=disabled \
    -Dgtk=disabled -Dlibpng=disabled -Dopenmp=disabled \
    -Dloongson-mmi=disabled -Dvmx=disabled -Darm-simd=disabled -Dneon=disabled \
    -Da64-neon=disabled -Diwmmxt=disabled -Dmips-dspr2=disabled >>"$log" 2>&1
  ninja -C _b -j"$jobs" install >>"$log" 2>&1
fi

# --- cairo (autotools) ------------------------------------------------------
if [ ! -f "$prefix/lib/libcairo.a" ]; then
  rm -rf "$work/cairo" && mkdir -p "$work/cairo"
  tar xf "$cairo_tar" -C "$work/cairo" --strip-components=1
  cd "$work/cairo"
  # Debian's fix for CVE-2020-35492 (mask usage in the image compositor).
  patch -p1 -s --forward < "$root/cmake/patches/cairo-image-compositor-mask.patch"
  # configure forces _FORTIFY_SOURCE, which makes mingw links need __memcpy_chk.
  sed -i 's/-Wp,-D_FORTIFY_SOURCE=2//g' configure
  PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH="" \
  CFLAGS="-O2 -DCAIRO_WIN32_STATIC_BUILD=1" \
  ./configure --host=$host --prefix="$prefix" CC=$host-gcc-posix \
    --enable-static --disable-shared --enable-win32 --enable-win32-font \
    --disable-xlib --disable-xcb --disable-quartz --disable-png --disable-script \
    --disable-ps --disable-pdf --disable-svg --disable-ft --disable-fc \
    --disable-pthread --disable-gobject --disable-trace --disable-interpreter \
    --disable-symbol-lookup --disable-egl --disable-glx --disable-wgl --disable-gl \
    --disable-valgrind --disable-gtk-doc >>"$log" 2>&1
  make -C src -j"$jobs" >>"$log" 2>&1
  make -C src install >>"$log" 2>&1
fi
echo "deps: cairo and pixman for $host in $prefix" >&2
