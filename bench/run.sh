#!/usr/bin/env bash
# Runs the benchmark: a timing build of switchpoint driven inside the Wine
# desktop, printing hook-procedure times, press-to-reaction latency and the
# pointer's steps per second, each checked against its target; then whole
# tasks: presses at rest, a pointing task and typing on the on-screen
# keyboard by a simulated switch user.
#
#   make bench        (or: bash bench/run.sh [win-build-dir])
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
win_build=${1:-$root/build/win}
status=0
for run in bench_keyboard bench_mouse bench_clicks bench_stop bench_bounce bench_filters bench_rest bench_pointing bench_typing; do
  # The whole-task runs take up to half an hour; the others a few minutes.
  case $run in bench_rest | bench_pointing | bench_typing) limit=2400 ;; *) limit=480 ;; esac
  E2E_CASE_TIMEOUT_MS=$((limit * 1000)) E2E_RUN_TIMEOUT=$((limit + 100)) E2E_DRIVER=$win_build/bench/bench_driver.exe E2E_PRODUCT=$win_build/bench/switchpoint_bench.exe \
    bash "$root/tests/e2e/run_case.sh" "$run" "$win_build" | grep -E '^(==|figure|FAIL|PASS)' || status=1
  [ "$(tail -n 1 "$root/build/e2e/$run/result.txt" 2>/dev/null | tr -d '\r')" = PASS ] || status=1
done
exit $status
