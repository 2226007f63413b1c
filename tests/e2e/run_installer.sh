#!/usr/bin/env bash
# The installer case in a Wine prefix of its own, made new for each run, so
# nothing a product case left behind can pass for what the installer did.
#
#   tests/e2e/run_installer.sh <setup.exe> <win-build-dir>
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 <setup.exe> <win-build-dir>" >&2
  exit 2
fi
[ -f "$1" ] || { echo "missing $1 (make dist)" >&2; exit 1; }
root=$(cd "$(dirname "$0")/../.." && pwd)
install_root=$root/build/e2e-install
rm -rf "$install_root"
E2E_BUILD_ROOT=$install_root E2E_PRODUCT=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") \
  E2E_RUN_TIMEOUT=200 exec "$root/tests/e2e/run_case.sh" installer "$2"
