#!/usr/bin/env bash
# Runs one end-to-end test in a slot of its own, so that two can run side by
# side: its own Wine prefix and X display (under BUILD_DIR/wine-e2e-N), and,
# where the machine allows it, its own network namespace, whose loopback
# gives the test server the port the test build talks to without meeting
# the other slot's.
#
#   scripts/e2e-slot.sh BUILD_DIR SLOTS command [args...]
#
# CTest hands out the slot (resource "e2e", see e2e-resources.json in the
# build folder: ctest --resource-spec-file). Run without it, a test takes
# slot 0 and waits for it to be free.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export PATH="$PATH:/usr/sbin:/sbin"

if [ "${1:-}" = "--inside" ]; then
  # In the namespace: Wine's server creates the sockets of its programs, so
  # it must run in this namespace too; one left from a test before (in
  # another namespace) is stopped first, and this test's after it.
  shift
  build=$1; shift
  ip link set lo up
  "$here/wine-run.sh" "$build" --stop
  rc=0
  "$@" || rc=$?
  "$here/wine-run.sh" "$build" --stop
  exit $rc
fi

build=$(cd "$1" && pwd)
slots=$2
shift 2
slot=0
if [ -n "${CTEST_RESOURCE_GROUP_0_E2E:-}" ]; then
  slot=$(sed -n 's/^id:\([0-9]*\),.*/\1/p' <<<"$CTEST_RESOURCE_GROUP_0_E2E")
fi
export KAVRELO_WINE_STATE="$build/wine-e2e-$slot"
mkdir -p "$KAVRELO_WINE_STATE"
# flock -o: the lock stays with flock alone, not with the Wine server and
# Xvfb that the test leaves running.
lock="$KAVRELO_WINE_STATE/slot.lock"
if [ "$slots" -gt 1 ]; then
  exec flock -o "$lock" unshare --net -- "$0" --inside "$build" "$@"
fi
exec flock -o "$lock" "$@"
