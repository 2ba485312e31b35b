#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the portable
# core natively (with sanitizers), then the Windows tests under Wine for each
# architecture this machine can run. Extra arguments go to ctest, e.g.
# `scripts/test.sh -R timer` or `scripts/test.sh -L html`.
#
# Both Windows programs are always built. Where the machine can execute
# 32-bit x86 code, the 32-bit program runs the whole Windows suite and the
# 64-bit one its unit and release tests; elsewhere the 64-bit program runs the
# whole suite, a line says that the 32-bit tests were not run, and the 32-bit
# program is built once, by the release packages where the release tests run.
set -euo pipefail
. "$(dirname "$0")/common.sh"

setup_machine
check_win32_runnable
build_native
if [ -z "$win32_reason" ]; then
  build_win x86
fi
build_win x64
win32=$(win_build_of x86)
win64=$(win_build_of x64)

selects() { (cd "$1" && shift && ctest -N "$@" 2>/dev/null | grep -q '^Total Tests: [1-9]'); }

# What each Windows build runs: the caller's selection, or everything; with
# both runnable and no selection of the caller's, x64 runs the unit and
# release tests beside x86's whole suite.
x86_args=("$@")
x64_args=("$@")
if [ -z "$win32_reason" ] && [ $# -eq 0 ]; then
  x64_args=(-L 'unit|release')
fi

# The release tests use packages of Release builds of both programs (twice,
# to compare the bytes); they are made only when a selection includes one.
need_packages=0
selects "$win64" -L release "${x64_args[@]}" && need_packages=1
[ -z "$win32_reason" ] && selects "$win32" -L release "${x86_args[@]}" && need_packages=1
if [ $need_packages -eq 1 ]; then
  step "building the release packages for the release tests"
  cmake --build "$win64" --target release_packages
fi
# Where the 32-bit tests cannot run, the 32-bit program is built only once:
# the release packages build it with its compile-time guards; without them,
# the test build makes the program and the guards alone (its tests would be
# built for nothing).
if [ -n "$win32_reason" ] && [ $need_packages -eq 0 ]; then
  build_win x86 kavrelo kavrelo_callback_guard
fi

run_wine_suite() {
  local build=$1; shift
  # Start Wine's server and display once before the tests rather than per test.
  "$root/scripts/wine-run.sh" "$build" cmd /c exit >/dev/null 2>&1 || true
  local rc=0
  # The resource file hands the end-to-end tests their slots (two side by
  # side where the machine gives each a network namespace).
  (cd "$build" && ctest --output-on-failure -j"$jobs" --resource-spec-file e2e-resources.json "$@") || rc=1
  "$root/scripts/wine-run.sh" "$build" --stop-all
  return $rc
}

status=0
step "running the native tests"
(cd "$native_build" && ctest --output-on-failure -j"$jobs" "$@") || status=1
if [ -z "$win32_reason" ]; then
  step "running the 32-bit Windows tests"
  run_wine_suite "$win32" "${x86_args[@]}" || status=1
elif [ $need_packages -eq 0 ]; then
  # The checks that read the 32-bit program need no Wine. (With the release
  # packages, release.sh and the x64 build's release tests read it.)
  step "checking the 32-bit program without running it"
  (cd "$win32" && ctest --output-on-failure -L static) || status=1
fi
# CTest's summary of the last run stays the last thing printed, so the line
# about the 32-bit tests comes before it.
if [ -n "$win32_reason" ]; then
  echo "32-bit Windows tests not run: $win32_reason. The 32-bit program was built and" \
       "checked by reading it (imports, delay-load slots, calls), but it was not executed here."
fi
step "running the 64-bit Windows tests"
run_wine_suite "$win64" "${x64_args[@]}" || status=1
exit $status
