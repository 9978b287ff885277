#!/bin/sh
# Sets up, builds and packs Nonari as a Debian package into build-package/; prints the package's path.
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build="$root/build-package"
"$here/setup.sh" "$build" package
(cd "$build" && cpack -G DEB > cpack.log) || { cat "$build/cpack.log" >&2; exit 1; }
ls "$build"/nonari_*.deb
