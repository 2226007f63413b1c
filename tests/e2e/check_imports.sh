#!/usr/bin/env bash
# Fails unless the exe imports only DLLs that every Windows has: one file
# to copy, no MinGW runtime DLLs beside it.
#
#   tests/e2e/check_imports.sh <path/to/switchpoint.exe>
set -u
exe=${1:?usage: $0 <exe>}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

[ -f "$exe" ] || { echo "FAIL: no such file $exe"; exit 1; }
dump=$("$objdump" -p "$exe") || { echo "FAIL: $objdump could not read $exe"; exit 1; }
dlls=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr -d '\r')
if [ -z "$dlls" ]; then
  echo "FAIL: no imports found in $exe"
  exit 1
fi

status=0
while IFS= read -r dll; do
  case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | winmm.dll | \
      shell32.dll | advapi32.dll | wtsapi32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll)
      echo "ok   $dll" ;;
    *)
      echo "FAIL $dll is not a Windows system DLL"
      status=1 ;;
  esac
done <<<"$dlls"
[ $status -eq 0 ] && echo PASS || echo FAIL
exit $status
