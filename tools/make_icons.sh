#!/bin/sh
# Draws the 48 and 256 pixel icons from desktop/nonari.svg (needs rsvg-convert from librsvg2-bin).
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
desktop="$(cd "$(dirname "$0")/.." && pwd)/desktop"
for side in 48 256; do
    rsvg-convert -w "$side" -h "$side" "$desktop/nonari.svg" -o "$desktop/nonari-$side.png"
done
