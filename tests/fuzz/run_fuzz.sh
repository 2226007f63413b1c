#!/usr/bin/env bash
# Runs a reader's fuzz target (settings, the default, or options) for a
# while and prints how many inputs it ran and how many crashed. Exit 0 only
# when none crashed.
#
#   tests/fuzz/run_fuzz.sh <fuzz-build-dir> <seconds> [settings|options]
set -u
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 <fuzz-build-dir> <seconds> [settings|options]" >&2
  exit 2
fi
dir=$(cd "$1" 2>/dev/null && pwd) || { echo "no such directory: $1" >&2; exit 1; }
seconds=$2
name=${3:-settings}
target=$dir/${name}_fuzz
[ -x "$target" ] || { echo "missing $target (make fuzz builds it)" >&2; exit 1; }

corpus=$dir/corpus-$name
crashes=$dir/crashes
mkdir -p "$corpus" "$crashes"
# Seeds: a file as the program writes it, and the same hand-edited in UTF-8.
if [ "$name" = options ]; then
  text='# mine\r\nextra_cells = scroll_up scroll_left\r\nscroll_interval_ms = 200\r\npanel_steps_aside = 1\r\nlanguage = es\r\n'
else
  text='1 1 1 1 1\r\n2\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n1\r\n'
fi
{ printf '\xff\xfe'; printf "$text" | iconv -f ASCII -t UTF-16LE; } >"$corpus/seed-default"
{ printf '\xef\xbb\xbf'; printf "$text"; } >"$corpus/seed-utf8"

found() { find "$crashes" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l; }
before=$(found)
log=$dir/fuzz-$name.log
"$target" -max_total_time="$seconds" -max_len=70000 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$crashes/" "$corpus" >"$log" 2>&1
status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
new=$(($(found) - before))
echo "$name fuzz: ${runs:-?} executions in $seconds s, $new crashes (log $log)"
if [ $status -ne 0 ] || [ "$new" -ne 0 ]; then
  tail -n 30 "$log"
  exit 1
fi
