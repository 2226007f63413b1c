#!/usr/bin/env bash
# clang-tidy (.clang-tidy) on every source of a build's compile database.
# Usage: tools/lint.sh BUILD_DIR [JOBS]. Fails on any finding.
set -euo pipefail
dir=$1
jobs=${2:-2}
db=$dir/compile_commands.json
[ -f "$db" ] || { echo "lint: no $db; build it first" >&2; exit 1; }
files=$(sed -n 's/^  "file": "\(.*\)".*/\1/p' "$db" | LC_ALL=C sort -u)
count=$(echo "$files" | wc -l)
# clang-tidy counts the warnings it hid in system headers; only findings matter.
if ! echo "$files" | nice xargs -P"$jobs" -n1 clang-tidy -p "$dir" --quiet 2>&1 \
        | { grep -Ev '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' || true; }; then
    echo "lint: clang-tidy found faults (see above)" >&2
    exit 1
fi
echo "lint: $count files clean"
