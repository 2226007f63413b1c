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
SWITCHPOINT_ROOT=$root SWITCHPOINT_BUILD=$build_root WINEPREFIX=$build_root/wineprefix
. "$root/tools/wine_env.sh"

out=$build_root/e2e/$case_name
work=$out/work
result=$out/result.txt
shot=$out/screen.png
shot_request=$out/shot.request
# The benchmark runs its own driver against a timing build of the product.
driver=${E2E_DRIVER:-$win_build/e2e_driver.exe}
product=${E2E_PRODUCT:-$win_build/switchpoint.exe}
# Whole wine run; the driver's own watchdog ends a hung case well before.
run_timeout=${E2E_RUN_TIMEOUT:-90}

for f in "$driver" "$product"; do
  [ -f "$f" ] || { echo "missing $f" >&2; exit 1; }
done

mkdir -p "$build_root"
# Cases share the prefix and its wineserver: one at a time.
exec 9>"$build_root/wine.lock"
if ! flock -w 600 9; then
  echo "timed out waiting for $build_root/wine.lock" >&2
  exit 1
fi

rm -rf "$out"
mkdir -p "$work"

# A *_144_dpi case runs at 144 DPI (the LogPixels Wine reads) on a larger
# screen, a *_600_high case on a short one; the others keep 96 on 1024 x 768.
# The DPI mark stays until the value is out again, so the next case mends a
# run cut short in between (writing 96, what Wine takes without the value).
screen=1024x768 dpi=
case $case_name in
  *_144_dpi) screen=1536x1152 dpi=144 ;;
  *_600_high) screen=1024x600 ;;
esac
dpi_mark=$WINEPREFIX.dpi-set
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >>"$out/dpi.log" 2>&1 &&
    wineserver -w
}
restore_prefix_dpi() { [ ! -e "$dpi_mark" ] || { set_dpi 96 && rm -f "$dpi_mark"; }; }

watcher_pid=
cleanup() {
  [ -n "$watcher_pid" ] && kill "$watcher_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  restore_prefix_dpi
  stop_xvfb
  rm -f "$shot_request" "$out/display"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

started_ms=$(date +%s%3N)

# Leftovers of an interrupted run would otherwise share our desktop.
wineserver -k >/dev/null 2>&1

start_xvfb "$out" "$screen" || exit 1
if ! wine_prefix_ready; then
  echo "could not prepare $WINEPREFIX; see $build_root/wineboot.log" >&2
  exit 1
fi
if [ -z "$dpi" ]; then
  restore_prefix_dpi
elif ! touch "$dpi_mark" || ! set_dpi "$dpi"; then
  echo "could not set the prefix's DPI; see $out/dpi.log" >&2
  exit 1
fi

# The driver asks for the screenshot while the product is still up by
# creating the request file, and goes on once it is gone again.
(
  while [ ! -e "$shot_request" ]; do sleep 0.05; done
  import -display "$DISPLAY" -window root "$shot" 2>>"$out/import.log"
  rm -f "$shot_request"
) &
watcher_pid=$!
export E2E_SHOT_REQUEST
E2E_SHOT_REQUEST=$(winpath "$shot_request")

timeout -k 5 "$run_timeout" wine explorer "/desktop=sp${DISPLAY#:},$screen" \
  "$(winpath "$driver")" "$case_name" "$(winpath "$product")" "$(winpath "$work")" \
  "$(winpath "$result")" >"$out/wine.log" 2>&1
wine_status=$?
[ $wine_status -eq 124 ] && echo "wine run timed out after $run_timeout s" >>"$result"
# A crash of the product (or of the driver) fails the case even when every
# check before it passed; its backtrace goes with the result. A crash the
# debugger cannot place in either is one of Wine's own and only noted.
if grep -q '^wine: Unhandled' "$out/wine.log" 2>/dev/null; then
  report=$(sed -n '/^wine: Unhandled/,/^Modules:/p' "$out/wine.log" | head -n 60)
  if printf '%s\n' "$report" | grep -qi 'switchpoint\|e2e_driver'; then
    { echo "FAIL the product or the driver crashed:"; printf '%s\n' "$report"; echo "FAIL"; } >>"$result"
  else
    grep '^wine: Unhandled' "$out/wine.log" | sed 's/^/note another process crashed: /' >>"$out/notes.txt"
  fi
fi

if [ ! -f "$shot" ]; then
  import -display "$DISPLAY" -window root "$shot" 2>>"$out/import.log"
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
[ -f "$out/notes.txt" ] && cat "$out/notes.txt"

verdict=$(tail -n 1 "$result" 2>/dev/null | tr -d '\r')
[ "$verdict" = "PASS" ]
