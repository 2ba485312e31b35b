#!/usr/bin/env bash
# Sets up the machine, builds the program and runs the ticker under Wine
# against the bundled demo feed served on loopback: the 32-bit program where
# this machine can run it, else the 64-bit one. Uses $DISPLAY when there is
# one, otherwise a private Xvfb; leaves a screenshot in out/demo.png and then
# closes the ticker. KAVRELO_DEMO_SECONDS sets how long it stays (default 8).
# With --docs the screenshot also becomes the README's, docs/kavrelo.png.
set -euo pipefail
. "$(dirname "$0")/common.sh"

docs=0
case "${1:-}" in
  "") ;;
  --docs) docs=1 ;;
  *) echo "usage: scripts/demo.sh [--docs]" >&2; exit 2 ;;
esac

fail() { echo "demo: $*" >&2; exit 1; }

setup_machine
pick_run_arch
arch=$run_arch
[ -n "$win32_reason" ] && step "running the 64-bit program: $win32_reason"
win_build=$(win_build_of "$arch")
build_win "$arch"

seconds=${KAVRELO_DEMO_SECONDS:-8}
out="$root/out"
mkdir -p "$out"
rm -f "$out/demo.png"
wine_run="$root/scripts/wine-run.sh"
exe="$win_build/bin/kavrelo.exe"
probe="$win_build/tools/winprobe.exe"
# Runs a program of the build under the build's Wine.
wine() { "$wine_run" "$win_build" "$@"; }

# The user's display when there is one, else wine-run.sh's private Xvfb.
if [ -n "${DISPLAY:-}" ]; then export KAVRELO_DISPLAY=$DISPLAY; fi
env_out=$("$wine_run" "$win_build" --env 2>&1) ||
  fail "Wine could not be started for $win_build: $env_out"
display=$(sed -n "s/.*DISPLAY='\([^']*\)'.*/\1/p" <<<"$env_out")
[ -n "$display" ] || fail "no X display: wine-run.sh gave none ($env_out)"
step "display $display"
DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 ||
  fail "cannot open the X display $display (unset DISPLAY to use a private Xvfb)"
# Wine itself must start before the ticker can.
check=$(wine cmd /c echo ok 2>&1) && [[ $check == *ok* ]] ||
  fail "Wine cannot run programs here: $check"

python3 "$root/tools/demo/serve.py" "$test_port" 2>"$out/demo-server.log" &
server=$!
ticker=""
cleanup() {
  [ -n "$ticker" ] && kill "$ticker" 2>/dev/null || true
  kill "$server" 2>/dev/null || true
}
trap cleanup EXIT

step "starting the $arch ticker"
wine "$exe" </dev/null >"$out/demo-wine.log" 2>&1 &
ticker=$!
sleep 0.5
kill -0 "$server" 2>/dev/null || fail "the demo server did not start on port $test_port: $(cat "$out/demo-server.log")"

# Wait until the window is on screen (it is created hidden and fades in).
geometry=""
for _ in $(seq 150); do
  info=$(wine "$probe" info 2>/dev/null || true)
  case "$info" in *visible=1*) geometry=$info; break ;; esac
  sleep 0.2
done
if [ -z "$geometry" ]; then
  kill -0 "$ticker" 2>/dev/null || fail "the ticker ended before its window appeared (its output: $out/demo-wine.log)"
  fail "the ticker window did not appear within 30 s (Wine's output: $out/demo-wine.log)"
fi
sleep "$seconds"

# Crop the screen to the window: per-pixel alpha does not survive a root
# screenshot anyway (transparent shows black).
eval "$(echo "$geometry" | tr ' ' '\n' | grep -E '^(x|y|w|h)=')"
xwd -root -silent -display "$display" | /usr/bin/convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$out/demo.png" ||
  fail "the screenshot could not be taken from display $display"

step "closing the ticker"
wine "$probe" post 37683 >/dev/null 2>&1 || true
for _ in $(seq 100); do
  kill -0 "$ticker" 2>/dev/null || break
  sleep 0.2
done
wait "$ticker" 2>/dev/null || true
ticker=""
"$wine_run" "$win_build" --stop
echo "Screenshot: $out/demo.png"
if [ $docs -eq 1 ]; then
  mkdir -p "$root/docs"
  cp "$out/demo.png" "$root/docs/kavrelo.png"
  echo "README screenshot: $root/docs/kavrelo.png"
fi
echo "Requests the demo server saw: $out/demo-server.log"
