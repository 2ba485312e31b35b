# Shared by demo.sh, test.sh, release.sh and bench.sh: installs what is
# missing, builds the static dependencies and configures and builds the
# build folders.
# shellcheck shell=bash

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
native_build="$root/build/native"
jobs=$(nproc)

# The two Windows programs: win32 (x86, i686-w64-mingw32) and win64 (x64,
# x86_64-w64-mingw32), in folders of those names under build/ (and under
# release.sh's build folder).
win_folder_of() {
  case "$1" in
    x86) echo win32 ;;
    x64) echo win64 ;;
  esac
}
win_build_of() { echo "$root/build/$(win_folder_of "$1")"; }
mingw_arch_of() {
  case "$1" in
    x86) echo i686 ;;
    x64) echo x86_64 ;;
  esac
}
# The CMake arguments that make a build folder one of ARCH: its toolchain
# and its own cairo and pixman.
win_arch_args() {
  local mingw
  mingw=$(mingw_arch_of "$1")
  echo "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchain-$mingw-mingw.cmake"
  echo "-DKAVRELO_DEPS_PREFIX=$root/build/deps/$mingw/prefix"
}

# Test and demo builds talk to a server on loopback; the port is the one the
# end-to-end tests and the demo server listen on. KAVRELO_TEST_PORT moves it,
# so two checkouts can run their end-to-end tests side by side.
test_port=${KAVRELO_TEST_PORT:-18473}

# WinInet honours proxy variables even for 127.0.0.1.
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY

step() { printf '==> %s\n' "$*" >&2; }

setup_machine() {
  step "checking packages"
  "$root/scripts/setup-packages.sh"
  step "building cairo and pixman (once per architecture)"
  # One after the other: side by side they took longer on two cores.
  "$root/scripts/build-deps.sh" i686 "$root/build/deps"
  "$root/scripts/build-deps.sh" x86_64 "$root/build/deps"
}

# Sets win32_reason to why the 32-bit Windows program cannot run here, or
# to nothing when it can: the machine must execute 32-bit x86 code and
# have Wine's 32-bit loader.
check_win32_runnable() {
  local why
  if ! why=$("$root/scripts/can-run-x86.sh" 2>&1); then
    step "a 32-bit x86 test program did not run: $why"
    win32_reason="this machine cannot execute 32-bit x86 programs"
  elif [ ! -x /usr/lib/wine/wine ]; then
    win32_reason="wine32 is not installed (set-up could not install it)"
  else
    win32_reason=""
  fi
}

# Sets run_arch to the Windows program to run where only one is run (the
# demo, the benchmarks): the 32-bit one, which users get by default, where
# this machine can run it, else the 64-bit one.
pick_run_arch() {
  check_win32_runnable
  if [ -z "$win32_reason" ]; then run_arch=x86; else run_arch=x64; fi
}

configure_win() {
  local arch=$1 build
  build=$(win_build_of "$arch")
  step "configuring $build"
  mapfile -t arch_args < <(win_arch_args "$arch")
  cmake -S "$root" -B "$build" -G Ninja "${arch_args[@]}" \
    -DKAVRELO_NEWS_HOST=127.0.0.1 -DKAVRELO_WEB_HOST=127.0.0.1 \
    -DKAVRELO_COUNTER_HOST=127.0.0.1 -DKAVRELO_HTTP_PORT=$test_port \
    -DKAVRELO_NEWS_HTTPS=OFF -DKAVRELO_WEB_HTTPS=OFF -DKAVRELO_COUNTER_HTTPS=OFF \
    -DKAVRELO_REFRESH_MS=4000 -DKAVRELO_COUNTER_MS=4000 -DKAVRELO_TRIM_MS=2000 \
    -DKAVRELO_HTTP_TIMEOUT_MS=5000 -DKAVRELO_HTTP_DEADLINE_MS=8000 -DKAVRELO_TEST_SEAMS=ON >/dev/null
}

configure_native() {
  step "configuring $native_build"
  CC=clang CXX=clang++ cmake -S "$root" -B "$native_build" -G Ninja \
    -DKAVRELO_SANITIZE=ON >/dev/null
}

# build_win ARCH [TARGET...]: everything, or only the targets named.
build_win() {
  local arch=$1; shift
  configure_win "$arch"
  if [ $# -eq 0 ]; then
    step "building the $arch Windows program and its tests"
    cmake --build "$(win_build_of "$arch")" -j"$jobs"
  else
    step "building the $arch Windows program ($*)"
    cmake --build "$(win_build_of "$arch")" -j"$jobs" --target "$@"
  fi
}

build_native() {
  configure_native
  step "building the portable core natively (sanitizers)"
  cmake --build "$native_build" -j"$jobs"
}
