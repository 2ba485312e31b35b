# Shared by demo.sh and test.sh: installs what is missing, builds the static
# dependencies and configures and builds both build folders.
# shellcheck shell=bash

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
win_build="$root/build/win32"
native_build="$root/build/native"
jobs=$(nproc)

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
  step "building cairo and pixman (once)"
  "$root/scripts/build-deps.sh" "$root/build/deps"
}

configure_win32() {
  step "configuring $win_build"
  cmake -S "$root" -B "$win_build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" \
    -DKAVRELO_DEPS_PREFIX="$root/build/deps/prefix" \
    -DKAVRELO_NEWS_HOST=127.0.0.1 -DKAVRELO_WEB_HOST=127.0.0.1 \
    -DKAVRELO_COUNTER_HOST=127.0.0.1 -DKAVRELO_HTTP_PORT=$test_port \
    -DKAVRELO_REFRESH_MS=4000 -DKAVRELO_COUNTER_MS=4000 -DKAVRELO_TRIM_MS=2000 \
    -DKAVRELO_HTTP_TIMEOUT_MS=5000 -DKAVRELO_HTTP_DEADLINE_MS=8000 >/dev/null
}

configure_native() {
  step "configuring $native_build"
  CC=clang CXX=clang++ cmake -S "$root" -B "$native_build" -G Ninja \
    -DKAVRELO_SANITIZE=ON >/dev/null
}

build_win32() {
  configure_win32
  step "building the Windows program and its tests"
  cmake --build "$win_build" -j"$jobs"
}

build_native() {
  configure_native
  step "building the portable core natively (sanitizers)"
  cmake --build "$native_build" -j"$jobs"
}
