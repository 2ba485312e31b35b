#!/usr/bin/env bash
# Sets up the machine, builds the program and runs the ticker under Wine
# against the bundled demo feed served on loopback. Uses $DISPLAY when there is
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

setup_machine
build_win32

seconds=${KAVRELO_DEMO_SECONDS:-8}
out="$root/out"
mkdir -p "$out"
wine_run="$root/scripts/wine-run.sh"
exe="$win_build/bin/kavrelo.exe"
probe="$win_build/tools/winprobe.exe"

user_display=${DISPLAY:-}
eval "$("$wine_run" "$win_build" --env)"
[ -n "$user_display" ] && export DISPLAY="$user_display"
step "display $DISPLAY"

python3 "$root/tools/demo/serve.py" "$test_port" 2>"$out/demo-server.log" &
server=$!
ticker=""
cleanup() {
  [ -n "$ticker" ] && kill "$ticker" 2>/dev/null || true
  kill "$server" 2>/dev/null || true
}
trap cleanup EXIT

step "starting the ticker"
wine "$exe" </dev/null >"$out/demo-wine.log" 2>&1 &
ticker=$!

# Wait until the window is on screen (it is created hidden and fades in).
geometry=""
for _ in $(seq 150); do
  info=$(wine "$probe" info 2>/dev/null || true)
  case "$info" in *visible=1*) geometry=$info; break ;; esac
  sleep 0.2
done
[ -n "$geometry" ] || { echo "demo: the ticker window did not appear" >&2; exit 1; }
sleep "$seconds"

# Crop the screen to the window: per-pixel alpha does not survive a root
# screenshot anyway (transparent shows black).
eval "$(echo "$geometry" | tr ' ' '\n' | grep -E '^(x|y|w|h)=')"
xwd -root -silent -display "$DISPLAY" | /usr/bin/convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$out/demo.png"

step "closing the ticker"
wine "$probe" post 37683 >/dev/null 2>&1 || true
for _ in $(seq 100); do
  kill -0 "$ticker" 2>/dev/null || break
  sleep 0.2
done
wait "$ticker" 2>/dev/null || true
ticker=""
if [ -z "$user_display" ]; then "$wine_run" "$win_build" --stop; fi
echo "Screenshot: $out/demo.png"
if [ $docs -eq 1 ]; then
  mkdir -p "$root/docs"
  cp "$out/demo.png" "$root/docs/kavrelo.png"
  echo "README screenshot: $root/docs/kavrelo.png"
fi
echo "Requests the demo server saw: $out/demo-server.log"
