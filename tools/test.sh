#!/bin/sh
# Sets up, builds and runs every test headless (offscreen Qt; Xvfb for the end-to-end tests).
# tools/test.sh sanitize   runs the same under AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
mode=${1:-}
build="$root/build-test"
[ "$mode" = sanitize ] && build="$root/build-sanitize"
"$here/setup.sh" "$build" test "$mode"
cd "$build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j 2
