#!/bin/sh
# Compiles the manual's HTML sources into one .chm file: build_manual.sh <chmcmd> <docs dir> <output.chm>
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

if [ "$#" -ne 3 ]; then
    echo "usage: $0 <chmcmd> <docs dir> <output.chm>" >&2
    exit 2
fi
chmcmd=$1
docs=$(cd "$2" && pwd)
output=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/nonari-manual.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

# The compiler writes next to the project; work on a copy so docs/ stays clean.
cp -R "$docs/." "$work/"
project=$(cd "$work" && ls *.hhp)
(cd "$work" && "$chmcmd" --no-html-scan "$project" > "$work/compile.log" 2>&1) || {
    cat "$work/compile.log" >&2
    echo "$0: the help compiler failed" >&2
    exit 1
}
compiled=$(sed -n 's/^Compiled file=//p' "$work/$project" | tr -d '\r')
# A failed compile can still leave an empty file behind.
if [ ! -s "$work/$compiled" ]; then
    cat "$work/compile.log" >&2
    echo "$0: the help compiler produced no output" >&2
    exit 1
fi

# Replace the old manual only once the new one is complete.
mkdir -p "$(dirname "$output")"
cp "$work/$compiled" "$output.tmp.$$"
mv -f "$output.tmp.$$" "$output"
