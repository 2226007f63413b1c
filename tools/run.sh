#!/usr/bin/env bash
# Starts switchpoint under Wine in a virtual desktop. Without a display it
# starts a headless X server and saves a screenshot after start-up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
SWITCHPOINT_ROOT=$root
# A prefix of its own: the test runs end whatever runs in theirs.
WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix-run}
. "$root/tools/wine_env.sh"

exe="$root/build/win/switchpoint.exe"
run_dir="$root/build/run"
mkdir -p "$run_dir"

headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  XVFB_OWN_SESSION=1 start_xvfb "$run_dir"
fi
cleanup() {
  wineserver -k 2>/dev/null || true
  # Wine's windows go before their X server, or each says its connection broke.
  wineserver -w 2>/dev/null || true
  stop_xvfb || true
}
trap cleanup EXIT
# Ctrl+C is the way a run ends: not an error.
trap 'exit 0' INT TERM
wine_prefix_ready

# config.ini is read from and written to the working directory.
cd "$run_dir"
wine explorer /desktop=switchpoint,1024x768 "$exe" &
wine_pid=$!

if [ "$headless" -eq 1 ]; then
  sleep 5
  import -display "$DISPLAY" -window root "$run_dir/screen.png"
  echo "switchpoint is running headless on $DISPLAY; screenshot: build/run/screen.png"
  echo "Its settings file is build/run/config.ini. Press Ctrl+C to stop."
fi
wait "$wine_pid" || true
