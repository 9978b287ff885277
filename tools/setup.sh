#!/bin/sh
# Installs what is missing and builds Nonari: setup.sh <build dir> [test|package] [sanitize|fuzz|thread].
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
. "$here/packages.sh"
build=${1:-$root/build}
want_tests=${2:-}
variant=${3:-}

packages="$NONARI_BUILD_PACKAGES"
[ "$want_tests" = test ] && packages="$packages $NONARI_TEST_PACKAGES"
[ "$want_tests" = package ] && packages="$packages $NONARI_PACKAGE_PACKAGES"
case "$variant" in fuzz|thread) packages="$packages $NONARI_CLANG_PACKAGES" ;; esac

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi

options="-DNONARI_TESTS=OFF -DNONARI_BENCHMARKS=OFF"
[ "$want_tests" = test ] && options="-DNONARI_TESTS=ON -DNONARI_BENCHMARKS=ON"
case "$variant" in
    sanitize) options="$options -DNONARI_SANITIZE=ON" ;;
    # libFuzzer and ThreadSanitizer come with clang.
    fuzz) options="-DNONARI_TESTS=OFF -DNONARI_BENCHMARKS=OFF -DNONARI_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14" ;;
    thread) options="-DNONARI_TESTS=ON -DNONARI_BENCHMARKS=OFF -DNONARI_THREAD_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++-14" ;;
esac
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $options
cmake --build "$build" -j "$(nproc)"
