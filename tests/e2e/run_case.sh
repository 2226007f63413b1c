#!/usr/bin/env bash
# Runs one end-to-end case: the driver and switchpoint.exe inside one Wine
# virtual desktop on a private Xvfb display. Exit 0 on PASS, 1 otherwise.
#
#   tests/e2e/run_case.sh <case> <win-build-dir>
#
# Output goes to build/e2e/<case>/: work/ (the product's working directory),
# result.txt (one line per check, verdict last), screen.png, wine.log.
set -u

if [ $# -ne 2 ]; then
  echo "usage: $0 <case> <win-build-dir>" >&2
  exit 2
fi
case_name=$1
win_build=$(cd "$2" 2>/dev/null && pwd) || { echo "no such directory: $2" >&2; exit 1; }

root=$(cd "$(dirname "$0")/../.." && pwd)
build_root=${E2E_BUILD_ROOT:-$root/build}
out=$build_root/e2e/$case_name
work=$out/work
result=$out/result.txt
shot=$out/screen.png
shot_request=$out/shot.request
driver=$win_build/e2e_driver.exe
product=$win_build/switchpoint.exe
# Whole wine run; the driver's own watchdog ends a hung case well before.
run_timeout=${E2E_RUN_TIMEOUT:-90}

export WINEPREFIX=$build_root/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

for f in "$driver" "$product"; do
  [ -f "$f" ] || { echo "missing $f" >&2; exit 1; }
done

# Z: is the whole Unix file system in a Wine prefix; cheaper than winepath.
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

mkdir -p "$build_root"
# Cases share the prefix and its wineserver: one at a time, which also
# keeps two first runs from both initialising the prefix.
exec 9>"$build_root/wine.lock"
if ! flock -w 600 9; then
  echo "timed out waiting for $build_root/wine.lock" >&2
  exit 1
fi

rm -rf "$out"
mkdir -p "$work"

xvfb_pid=
watcher_pid=
cleanup() {
  [ -n "$watcher_pid" ] && kill "$watcher_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -f "$shot_request" "$out/display"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

started_ms=$(date +%s%3N)

# Leftovers of an interrupted run would otherwise share our desktop.
wineserver -k >/dev/null 2>&1

# Xvfb picks a free display number itself and reports it on -displayfd.
Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp 8>"$out/display" 2>"$out/xvfb.log" &
xvfb_pid=$!
display=
for _ in $(seq 200); do
  display=$(tr -dc '0-9' <"$out/display" 2>/dev/null)
  [ -n "$display" ] && xdpyinfo -display ":$display" >/dev/null 2>&1 && break
  display=
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$out/xvfb.log" >&2
  exit 1
fi
export DISPLAY=:$display

# Same lock file as tools/wine_env.sh, so `make run` and a case never both
# make the prefix. The marker is written only after a complete wineboot.
if [ ! -f "$WINEPREFIX/.e2e-ready" ]; then
  (
    flock -w 300 7 || exit 1
    [ -f "$WINEPREFIX/.e2e-ready" ] && exit 0
    echo "initialising $WINEPREFIX"
    timeout 180 wineboot -i >"$build_root/wineboot.log" 2>&1 || exit 1
    wineserver -w
    touch "$WINEPREFIX/.e2e-ready"
  ) 7>"$WINEPREFIX.lock"
  if [ ! -f "$WINEPREFIX/.e2e-ready" ]; then
    echo "could not initialise $WINEPREFIX; see $build_root/wineboot.log" >&2
    exit 1
  fi
fi

# The driver asks for the screenshot while the product is still up by
# creating the request file, and goes on once it is gone again.
(
  while [ ! -e "$shot_request" ]; do sleep 0.05; done
  import -display ":$display" -window root "$shot" 2>>"$out/import.log"
  rm -f "$shot_request"
) &
watcher_pid=$!
export E2E_SHOT_REQUEST
E2E_SHOT_REQUEST=$(winpath "$shot_request")

timeout -k 5 "$run_timeout" wine explorer "/desktop=sp$display,1024x768" \
  "$(winpath "$driver")" "$case_name" "$(winpath "$product")" "$(winpath "$work")" \
  "$(winpath "$result")" >"$out/wine.log" 2>&1
wine_status=$?
[ $wine_status -eq 124 ] && echo "wine run timed out after $run_timeout s" >>"$result"

if [ ! -f "$shot" ]; then
  import -display ":$display" -window root "$shot" 2>>"$out/import.log"
fi

elapsed_ms=$(($(date +%s%3N) - started_ms))
printf '== e2e.%s: %d.%03d s; screenshot %s\n' "$case_name" $((elapsed_ms / 1000)) \
  $((elapsed_ms % 1000)) "$shot"
if [ -f "$result" ]; then
  cat "$result"
else
  echo "no result file; wine output:"
  cat "$out/wine.log"
fi

verdict=$(tail -n 1 "$result" 2>/dev/null | tr -d '\r')
[ "$verdict" = "PASS" ]
