#!/usr/bin/env bash
# Installs what building and testing need, with apt-get, when it is missing.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
have make || need+=(make)
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
have wine || need+=(wine wine64)
have Xvfb || need+=(xvfb)
have xdpyinfo || need+=(x11-utils)
# Debian's placeholder `convert` is not ImageMagick; `import` only comes with the real one.
have import || need+=(imagemagick)
# make dist: the installer and the portable zip.
have makensis || need+=(nsis)
have zip || need+=(zip)
have python3 || need+=(python3)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
# The format check and lint; Debian's version keeps the layout the same everywhere.
have clang-format || need+=(clang-format)
have clang-tidy || need+=(clang-tidy)
# g++'s sanitizer runtimes; they normally come with g++ itself.
ls /usr/lib/x86_64-linux-gnu/libasan.so.* >/dev/null 2>&1 || need+=(libasan8)
ls /usr/lib/x86_64-linux-gnu/libubsan.so.* >/dev/null 2>&1 || need+=(libubsan1)
ls /usr/lib/x86_64-linux-gnu/libtsan.so.* >/dev/null 2>&1 || need+=(libtsan2)
# make fuzz and the fuzz smoke in make test: clang with its libFuzzer runtime.
have clang++-14 || need+=(clang-14)
ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
    need+=(libfuzzer-14-dev libclang-rt-14-dev)

[ ${#need[@]} -eq 0 ] && exit 0

echo "Installing: ${need[*]}"
if ! have apt-get; then
    echo "error: apt-get is not available; please install: ${need[*]}" >&2
    exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if have sudo; then sudo="sudo"; else
        echo "error: installing needs root; please run as root or install: ${need[*]}" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
if ! { $sudo apt-get update -qq && $sudo apt-get install -y -qq "${need[@]}"; }; then
    echo "error: apt-get could not install: ${need[*]}" >&2
    exit 1
fi
