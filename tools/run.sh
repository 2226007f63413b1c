#!/usr/bin/env bash
# Starts switchpoint under Wine in a virtual desktop. Without a display it
# starts a headless X server and saves a screenshot after start-up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
SWITCHPOINT_ROOT=$root
. "$root/tools/wine_env.sh"

exe="$root/build/win/switchpoint.exe"
run_dir="$root/build/run"
mkdir -p "$run_dir"
wine_prefix_ready

headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    start_xvfb
fi
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

# config.ini is written to the working directory.
cd "$run_dir"
wine explorer /desktop=switchpoint,1024x768 "$exe" &
wine_pid=$!

if [ "$headless" -eq 1 ]; then
    sleep 5
    import -display "$DISPLAY" -window root "$run_dir/screen.png"
    echo "switchpoint is running headless on $DISPLAY; screenshot: build/run/screen.png"
    echo "Settings file: build/run/config.ini. Press Ctrl+C to stop."
fi
wait "$wine_pid" || true
