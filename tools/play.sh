#!/bin/sh
# Sets up, builds and starts Nonari; the game keeps the player's files in its own folder (~/.local/share/nonari).
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
"$here/setup.sh" "$root/build"
exec "$root/build/nonari" "$@"
