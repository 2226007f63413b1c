#!/usr/bin/env bash
# The folders of src/ are layers: a folder includes only those before it in
# the order src/README.md gives on its "Layers:" line. platform/ (the seam)
# includes none of them; platform/win32/ carries the seam out and may reach
# any. Names every include that goes against the order; fails if there is one.
set -euo pipefail
src=${1:-src}
order=($(sed -n 's/^Layers: *//p' "$src/README.md"))
[ ${#order[@]} -gt 0 ] || { echo "layers: no 'Layers:' line in $src/README.md" >&2; exit 1; }
rank() {
    local i
    for i in "${!order[@]}"; do [ "${order[$i]}" = "$1" ] && { echo "$i"; return; }; done
    echo -1
}
faults=0
while IFS= read -r file; do
    dir=${file#"$src"/}
    dir=${dir%%/*}
    case $file in "$src"/platform/win32/*) continue ;; esac
    own=$([ "$dir" = platform ] && echo -1 || rank "$dir")
    while IFS=: read -r line target; do
        to=$(rank "$target")
        [ "$to" -lt 0 ] && continue
        if [ "$dir" = platform ] || [ "$to" -gt "$own" ]; then
            echo "$file:$line: $dir/ includes $target/, which comes after it"
            faults=$((faults + 1))
        fi
    done < <(grep -n '^#include "[a-z_0-9]*/' "$file" | sed 's/^\([0-9]*\):#include "\([a-z_0-9]*\)\/.*/\1:\2/')
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort)
[ "$faults" -eq 0 ] || { echo "layers: $faults includes against the order ${order[*]}" >&2; exit 1; }
echo "layers: every include follows ${order[*]}"
