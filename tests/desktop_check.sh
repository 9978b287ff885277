#!/bin/sh
# Checks a file the desktop reads: desktop_check.sh entry|appstream|manpage|icons <source dir>.
# Exits 77 (skipped) when the tool for the check is not installed.
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
what=$1
desktop="$2/desktop"

need() {
    command -v "$1" >/dev/null 2>&1 || { echo "SKIPPED: $1 is not installed (tools/packages.sh lists it)"; exit 77; }
}

case "$what" in
entry)
    need desktop-file-validate
    out=$(desktop-file-validate "$desktop/nonari.desktop" 2>&1) || { echo "$out"; exit 1; }
    # The validator passes hints silently; a hint is a fault here too.
    [ -z "$out" ] || { echo "$out"; exit 1; }
    for line in 'Categories=Game;LogicGame;' 'Name=Nonari' 'Name\[de\]=Nonari' 'Comment=.*' 'Comment\[de\]=.*' \
        'StartupWMClass=nonari'; do
        grep -qx "$line" "$desktop/nonari.desktop" || { echo "nonari.desktop lacks $line"; exit 1; }
    done
    ;;
appstream)
    need appstreamcli
    set -- "$desktop"/*.metainfo.xml
    [ "$#" -eq 1 ] || { echo "expected one metainfo file, found: $*"; exit 1; }
    appstreamcli validate --no-net --explain "$1"
    # The id names the file, and the entry it launches is the one installed.
    id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$1")
    [ "$(basename "$1")" = "$id.metainfo.xml" ] || { echo "file name does not match the id $id"; exit 1; }
    for line in '<launchable type="desktop-id">nonari.desktop</launchable>' '<screenshot type="default">' \
        '<release version="[0-9.]*" date="[0-9-]*"'; do
        grep -q "$line" "$1" || { echo "$1 lacks $line"; exit 1; }
    done
    ;;
manpage)
    need groff && need preconv
    warnings=$(preconv -e UTF-8 "$desktop/nonari.6" | groff -man -ww -z -Tutf8 2>&1)
    [ -z "$warnings" ] || { echo "$warnings"; exit 1; }
    head -n 5 "$desktop/nonari.6" | grep -q '^\.TH NONARI 6 '
    ;;
icons)
    need identify
    for side in 48 256; do
        got=$(identify -format '%wx%h' "$desktop/nonari-$side.png")
        [ "$got" = "${side}x$side" ] || { echo "nonari-$side.png is $got"; exit 1; }
    done
    # The pictures are drawn from the scalable icon; one left over from an older drawing is caught here.
    if command -v rsvg-convert >/dev/null 2>&1; then
        fresh=$(mktemp)
        trap 'rm -f "$fresh"' EXIT
        rsvg-convert -w 256 -h 256 "$desktop/nonari.svg" -o "$fresh"
        diff=$(compare -metric AE "$fresh" "$desktop/nonari-256.png" null: 2>&1 || true)
        [ "$diff" = 0 ] || { echo "nonari-256.png differs from nonari.svg in $diff pixels: run tools/make_icons.sh"; exit 1; }
    fi
    ;;
*)
    echo "usage: $0 entry|appstream|manpage|icons <source dir>" >&2
    exit 2
    ;;
esac
echo "PASS: $what"
