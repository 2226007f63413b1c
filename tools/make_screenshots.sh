#!/usr/bin/env bash
# Takes the user guide's pictures from the real exe under Wine with the e2e
# driver's screenshot_ cases, cut to the window each one logs, into docs/.
#
#   tools/make_screenshots.sh <win-build-dir>
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
win_build=$1
for name in panel settings settings_english third_row more_options point_scan keyboard_groups keyboard_rows; do
  "$root/tests/e2e/run_case.sh" "screenshot_$name" "$win_build"
  out=$root/build/e2e/screenshot_$name
  # "area (left,top)-(right,bottom)", with a few pixels around it.
  read -r l t r b < <(sed -n 's/^area (\(-\?[0-9]*\),\(-\?[0-9]*\))-(\([0-9]*\),\([0-9]*\)).*/\1 \2 \3 \4/p' \
    "$out/result.txt" | tr -d '\r')
  m=8
  l=$((l > m ? l - m : 0)) t=$((t > m ? t - m : 0))
  convert "$out/screen.png" -crop "$((r - l + m))x$((b - t + m))+$l+$t" +repage -strip \
    -define png:compression-level=9 "$root/docs/$name.png"
  echo "docs/$name.png: $(identify -format '%wx%h' "$root/docs/$name.png"), $(stat -c %s "$root/docs/$name.png") bytes"
done
