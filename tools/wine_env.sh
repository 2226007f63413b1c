# Sourced by every script that runs the product under Wine (make run, the
# end-to-end cases, the benchmark): one prefix of the project's own, made
# once, no prompts for components we do not need, and a private X server.
: "${SWITCHPOINT_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
: "${SWITCHPOINT_BUILD:=$SWITCHPOINT_ROOT/build}"
export WINEPREFIX="${WINEPREFIX:-$SWITCHPOINT_BUILD/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Makes the prefix the first time (10 to 20 s); the lock keeps two runs
# from both making it.
wine_prefix_ready() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock -w 300 9 || exit 1
    if [ ! -f "$WINEPREFIX/.switchpoint-ready" ]; then
      echo "preparing the Wine prefix $WINEPREFIX (first time only)" >&2
      timeout 180 wineboot -i >"$SWITCHPOINT_BUILD/wineboot.log" 2>&1 || exit 1
      wineserver -w
      touch "$WINEPREFIX/.switchpoint-ready"
    fi
    # A crash then ends the process and prints its backtrace to the run's
    # log, instead of a dialog that keeps a dead process on screen.
    if [ ! -f "$WINEPREFIX/.switchpoint-crash-report" ]; then
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >>"$SWITCHPOINT_BUILD/wineboot.log" 2>&1 || exit 1
      wineserver -w
      touch "$WINEPREFIX/.switchpoint-crash-report"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Starts Xvfb on a display number it picks itself, waits until it answers,
# and exports DISPLAY; XVFB_PID names it. $1: a folder for its files; $2:
# the screen's size, 1024x768 unless given.
start_xvfb() {
  local dir=$1 size=${2:-1024x768} display=
  mkdir -p "$dir"
  # With XVFB_OWN_SESSION=1 (make run) Ctrl+C in the terminal reaches the
  # script, which closes Wine first, and not the X server under Wine's
  # windows. setsid does not fork here, so XVFB_PID is the server's.
  local launcher=()
  [ "${XVFB_OWN_SESSION:-0}" = 1 ] && launcher=(setsid)
  "${launcher[@]}" Xvfb -displayfd 8 -screen 0 "${size}x24" -nolisten tcp 8>"$dir/display" 2>"$dir/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 200); do
    display=$(tr -dc '0-9' <"$dir/display" 2>/dev/null)
    [ -n "$display" ] && xdpyinfo -display ":$display" >/dev/null 2>&1 && break
    display=
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [ -z "$display" ]; then
    echo "Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=:$display
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  fi
}

# Z: is the whole Unix file system in a Wine prefix; cheaper than winepath.
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
