#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the portable
# core natively (with sanitizers), the Windows unit tests under Wine, then the
# end-to-end tests and the release packages. Extra arguments go to ctest, e.g. `scripts/test.sh -R timer`
# or `scripts/test.sh -L html`.
set -euo pipefail
. "$(dirname "$0")/common.sh"

setup_machine
build_native
build_win32
# The release tests use packages of a Release build (twice, to compare the
# bytes); they are made only when the selection includes such a test.
if (cd "$win_build" && ctest -N -L release "$@" 2>/dev/null | grep -q '^Total Tests: [1-9]'); then
  step "building the release packages for the release tests"
  cmake --build "$win_build" --target release_packages
fi

status=0
step "running the tests"
# One ctest run over both folders would need a super-project; two runs, one
# summary line each, and the last line is the Windows build's summary.
(cd "$native_build" && ctest --output-on-failure -j"$jobs" "$@") || status=1
# Start Wine's server and display once before the tests rather than per test.
"$root/scripts/wine-run.sh" "$win_build" cmd /c exit >/dev/null 2>&1 || true
(cd "$win_build" && ctest --output-on-failure -j"$jobs" "$@") || status=1
"$root/scripts/wine-run.sh" "$win_build" --stop
exit $status
