#!/bin/sh
# Sets up, builds and starts Nonari in its own working folder (~/.local/share/nonari).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
"$here/setup.sh" "$root/build"

# The game keeps its files in the working folder; seed it once with the shipped collections
# and keep the manual current (it holds nothing of the player's).
work=${NONARI_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/nonari}
mkdir -p "$work"
for f in "$root"/data/*.nnr; do
    [ -e "$work/$(basename "$f")" ] || cp "$f" "$work/"
done
cp "$root/data/nonari.chm" "$work/nonari.chm"
cd "$work"
exec "$root/build/nonari" "$@"
