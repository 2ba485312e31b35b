#!/usr/bin/env bash
# Runs a Windows program under Wine with the build folder's private prefix and
# its own Xvfb display, starting either when they are not there yet.
#
#   scripts/wine-run.sh BUILD_DIR program.exe [args...]   run a program
#   scripts/wine-run.sh BUILD_DIR --env                   print the environment
#   scripts/wine-run.sh BUILD_DIR --stop                  stop wineserver and Xvfb
#   scripts/wine-run.sh BUILD_DIR --stop-all              the same for every slot
#
# With KAVRELO_DISPLAY set, programs show on that X display instead of the
# build folder's private Xvfb.
#
# CMake uses it as the cross-compiling emulator, so `ctest` in the build folder
# works on its own.
#
# Wine itself is chosen per machine: Debian's `wine` where the machine can
# execute 32-bit x86 code and wine32 is installed (it runs both kinds of
# program), otherwise wine64 alone, which runs 64-bit programs only. Debian's
# `wine` script would pick the 32-bit loader whenever its file is there, even
# where the kernel refuses it, so we do not leave the choice to it.
set -euo pipefail

[ $# -ge 1 ] || { echo "usage: scripts/wine-run.sh BUILD_DIR program.exe [args...] | --env | --stop" >&2; exit 2; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "$1" && pwd); shift
# KAVRELO_WINE_STATE gives a program another prefix and display than the
# build folder's (the end-to-end tests run side by side, each in a slot of
# its own).
state="${KAVRELO_WINE_STATE:-$build/wine}"
mkdir -p "$state"

# Prints the loader to use. The probe runs once per boot of the machine and
# installed state of wine32; tests call this script side by side, so the
# answer is written whole or not at all.
choose_loader() {
  local key cache="$state/loader"
  key="$(cat /proc/sys/kernel/random/boot_id 2>/dev/null || echo unknown) wine32=$([ -x /usr/lib/wine/wine ] && echo 1 || echo 0)"
  if [ -f "$cache" ] && [ "$(sed -n 1p "$cache")" = "$key" ]; then
    sed -n 2p "$cache"
    return
  fi
  local loader
  if [ -x /usr/lib/wine/wine ] && "$here/can-run-x86.sh" --quiet; then
    loader=wine
  elif [ -x /usr/lib/wine/wine64 ]; then
    loader=/usr/lib/wine/wine64
  elif command -v wine >/dev/null; then
    loader=wine
  else
    echo "wine-run: Wine is not installed (scripts/setup-packages.sh installs it)" >&2
    exit 1
  fi
  local tmp
  tmp=$(mktemp "$cache.XXXXXX")
  printf '%s\n%s\n' "$key" "$loader" > "$tmp"
  mv -f "$tmp" "$cache"
  echo "$loader"
}
loader=$(choose_loader)
if [ "$loader" != wine ]; then
  export WINELOADER=$loader
  # wineboot, reg and the rest are Windows programs: run them through the
  # same loader rather than through Debian's wrappers.
  wine() { "$WINELOADER" "$@"; }
  wineboot() { "$WINELOADER" wineboot.exe "$@"; }
fi

export WINEPREFIX="$state/prefix"
export WINEDEBUG=-all
# No Mono or Gecko downloads; and no menu entries or file associations in the
# host desktop for what an installer under test puts in the Start menu.
# KAVRELO_EXTRA_DLLOVERRIDES adds a test's own (the DLL-planting test asks
# for native copies of DLLs first).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${KAVRELO_EXTRA_DLLOVERRIDES:+;$KAVRELO_EXTRA_DLLOVERRIDES}"
# WinInet honours proxy variables even for 127.0.0.1.
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY

stop() {
  wineserver -k 2>/dev/null || true
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid" "$state/display"
  fi
}

ensure_display() {
  # A display of the caller's (the demo on a desktop) instead of our own.
  if [ -n "${KAVRELO_DISPLAY:-}" ]; then
    export DISPLAY=$KAVRELO_DISPLAY
    return
  fi
  if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
    export DISPLAY=$(cat "$state/display")
    return
  fi
  local n
  for n in $(seq 90 150); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -noreset -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
    local pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 $pid 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 $pid 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      echo $pid > "$state/xvfb.pid"
      echo ":$n" > "$state/display"
      export DISPLAY=":$n"
      return
    fi
  done
  echo "wine-run: could not start Xvfb" >&2
  exit 1
}

ensure_prefix() {
  [ -f "$state/prefix.ready" ] && return
  # A prefix costs ~16 s and over 1 GB: made once per build folder.
  wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
  wineserver -w
  # Without a window manager every hide/close costs 2 s unless Wine manages
  # windows itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1 9>&-
  wineserver -w
  touch "$state/prefix.ready"
}

# A program that crashes gets Wine's debugger, which by default shows a
# crash dialog on our display and waits for a click that never comes: the
# crash would look like a hang until a test's timeout. Without the dialog
# the debugger prints a backtrace and ends the process at once, with the
# exception code (its low byte is the exit status).
ensure_crashes_end() {
  [ -f "$state/prefix.crashes-end" ] && return
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1 9>&-
  wineserver -w
  touch "$state/prefix.crashes-end"
}

# Wine's line for an unhandled exception ("wine: Unhandled page fault on
# read access to 00000000 at address 0040123A (thread 0024), starting
# debugger...") as "crashed (c0000005 at 0040123A)", or nothing.
crash_summary() {
  local line code address
  line=$(grep -a -m1 '^wine: Unhandled' "$1" || true)
  [ -n "$line" ] || return 0
  case "$line" in
    *"page fault"*) code=c0000005 ;;
    *"division by zero"*) code=c0000094 ;;
    *"stack overflow"*) code=c00000fd ;;
    *"illegal instruction"*) code=c000001d ;;
    *"privileged instruction"*) code=c0000096 ;;
    *"array bounds"*) code=c000008c ;;
    *"overflow"*) code=c0000095 ;;
    *"alignment"*) code=80000002 ;;
    *"exception 0x"*) code=$(sed -n 's/.*exception 0x\([0-9a-fA-F]*\).*/\1/p' <<<"$line") ;;
    *) code=unknown ;;
  esac
  address=$(sed -n 's/.* at address \(0x\)\{0,1\}\([0-9a-fA-F]*\).*/\2/p' <<<"$line")
  echo "crashed ($code at ${address:-?})"
}

case "${1:-}" in
  --stop) stop; exit 0 ;;
  --stop-all)
    stop
    for slot in "$build"/wine-e2e-*; do
      [ -d "$slot" ] && KAVRELO_WINE_STATE=$slot "$0" "$build" --stop
    done
    exit 0 ;;
esac

# A 32-bit program under wine64 alone fails with a message that does not say
# why; say it before Wine does.
machine_of() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$pe" ] && od -An -tx2 -j$((pe + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}
if [ "$loader" != wine ] && [ -f "${1:-}" ] && [ "$(machine_of "$1")" = 014c ]; then
  echo "wine-run: $1 is a 32-bit program, and this machine cannot run 32-bit Windows programs (no 32-bit x86 code or no wine32)" >&2
  exit 1
fi

(
  flock 9
  ensure_display
  ensure_prefix
  ensure_crashes_end
  # Debian's Wine does not pick up fonts-wine's fonts from its data folder,
  # so GDI+ finds no Tahoma and no generic sans-serif family; fonts in the
  # prefix's own Fonts folder are always found.
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d "$fonts" ] && [ ! -f "$fonts/tahoma.ttf" ] && [ -f /usr/share/wine/fonts/tahoma.ttf ]; then
    cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/" 2>/dev/null || true
  fi
  # A persistent wineserver saves ~2.5 s per test process; it refuses to
  # start a second time for the same prefix, which is what we want.
  if wineserver -p </dev/null >/dev/null 2>&1 9>&-; then
    # Wine's own services start with the first program and stay; started
    # here, they do not hold on to a caller's output pipe.
    wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
  fi
) 9>"$state/lock"
ensure_display

case "${1:-}" in
  --env)
    echo "export WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all WINEDLLOVERRIDES='$WINEDLLOVERRIDES' DISPLAY='$DISPLAY'"
    [ "$loader" = wine ] || echo "export WINELOADER='$WINELOADER'"
    echo "unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY"
    exit 0 ;;
esac
# Whatever Wine starts in the background (explorer for the tray, services)
# inherits our stdout; a test runner reading that pipe would wait for them.
# The program's output goes through a file instead.
out=$(mktemp "$state/out.XXXXXX")
trap 'rm -f "$out"' EXIT
set +e
wine "$@" </dev/null >"$out" 2>&1
rc=$?
set -e
cat "$out"
crash=$(crash_summary "$out")
[ -z "$crash" ] || echo "wine-run: $(basename "$1") $crash" >&2
exit $rc
