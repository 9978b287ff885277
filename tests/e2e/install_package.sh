#!/bin/sh
# End to end: builds the Debian package from this build tree, checks its files and fields (and lintian), unpacks it
# into a fresh root and starts the unpacked program under Xvfb from another folder with a fresh HOME:
# a new game comes from the installed collections, a saved board lands in HOME/.local/share/nonari
# and nowhere else, the manual opens.
# Usage: install_package.sh <nonari binary of the build tree> <source dir>
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

build=$(cd "$(dirname "$1")" && pwd)
source_dir=$(cd "$2" && pwd)
export QT_QPA_PLATFORM=xcb
for tool in cpack dpkg-deb dpkg-shlibdeps file xvfb-run xdotool; do
    command -v "$tool" >/dev/null 2>&1 ||
        { echo "SKIPPED: $tool is not installed (tools/packages.sh lists it for the tests)"; exit 77; }
done
. "$(dirname "$0")/support/x11.sh"
in_virtual_screen "$@"
mkdir "$work/home" "$work/elsewhere"

# --- The package ------------------------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/package/nonari_5.0_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package nonari_5.0_*.deb was built"

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort > "$work/files"
for f in games/nonari libexec/nonari/nonari-manual-page share/applications/nonari.desktop share/man/man6/nonari.6.gz \
    share/doc/nonari/changelog.gz share/doc/nonari/copyright share/icons/hicolor/256x256/apps/nonari.png \
    share/icons/hicolor/48x48/apps/nonari.png share/icons/hicolor/scalable/apps/nonari.svg \
    share/metainfo/"$(basename "$source_dir"/desktop/*.metainfo.xml)" $(ls "$source_dir/data" | sed s:^:share/nonari/:)
do
    echo "./usr/$f"
done | sort > "$work/expected"
diff -u "$work/expected" "$work/files" || fail "the package holds other files than expected"

[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the section is not games"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libchm1 libcups2 qt6-qpa-plugins \
    fonts-liberation2; do
    echo "$depends" | grep -Eq "(^|, )$needed( |,|$)" || fail "Depends lacks $needed: $depends"
done

dpkg-deb -x "$deb" "$work/root"
touch "$work/unpacked"
program="$work/root/usr/games/nonari"
# A packaged program knows no path of the machine that built it; a sanitizer build, never shipped, names its sources.
if ! strings -a "$program" | grep -q '__asan_init'; then
    for here in "$source_dir" "$build"; do
        strings -a "$program" | grep -qF "$here" && fail "the program holds the path $here"
    done
fi
# Debian's own check of the package: no error, no warning (a manual page groff cannot read, an entry's Exec that
# names no shipped program are warnings).
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error,warning "$deb" > "$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian"; }
fi

# --- The command line -------------------------------------------------------------------
[ "$("$program" --version)" = "Nonari 5.0" ] || fail "--version says: $("$program" --version)"
"$program" --help | grep -q '^Aufruf: nonari' || fail "--help"
status=0
HOME="$work/elsewhere" "$program" -platform offscreen --unbekannt > "$work/out" 2>&1 || status=$?
[ "$status" -eq 2 ] && grep -q 'unbekannte Option' "$work/out" || fail "--unbekannt: $status, $(cat "$work/out")"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "a refused start left files behind"

# --- The unpacked program as a player starts it -----------------------------------------
cd "$work/elsewhere"
start_program env -u NONARI_HOME -u XDG_DATA_HOME -u NONARI_DATA_DIR HOME="$work/home" NONARI_SEED=3 "$program"
cd "$work"
xdotool search --classname '^nonari$' | grep -qx "$win" || fail "the window's instance name is not nonari"
xdotool search --class '^nonari$' | grep -qx "$win" || fail "the window's class is not nonari"

# A new game from the installed collections, left at once, then saved in slot 2.
keys alt+n
keys n
sleep 0.7
keys Escape
keys alt+o
keys s
slots=$(wait_window "Sichern unter" "$win")
xdotool windowfocus --sync "$slots"
xdotool key 2
saved="$work/home/.local/share/nonari/brett.nnr"
for _ in $(seq 100); do
    [ -f "$saved" ] && ! xdotool search --onlyvisible --name "Sichern unter" >/dev/null 2>&1 && break
    sleep 0.1
done
[ -f "$saved" ] || fail "no brett.nnr in HOME/.local/share/nonari"
xdotool windowfocus --sync "$win"
keys Escape

# The manual comes from the installed data folder.
keys alt+h
keys a
viewer=$(wait_window "Menüpunkte" "$win")
xdotool windowunmap "$viewer"
snap
end_program

[ "$(stat -c %s "$saved")" -eq 8800 ] || fail "brett.nnr has $(stat -c %s "$saved") bytes"
# Slot 2 holds the new game's givens: the collection was read from the installed data.
givens=$(od -An -tu1 -j 2300 -N 100 "$saved" | tr -s ' ' '\n' | grep -c '^[1-9]$' || true)
[ "$givens" -ge 17 ] || fail "the saved board has $givens givens: no collection was found"
# The game's files are in the player's folder and nowhere else; libraries may keep caches.
found=$(find home elsewhere root -type f ! -path 'home/.cache/*' ! -path 'root/usr/*' | sort)
changed=$(find root -type f -newer unpacked | sort)
# The saved board and the lock every save takes.
[ "$found" = "home/.local/share/nonari/brett.nnr
home/.local/share/nonari/nonari.lock" ] || fail "files written: $found"
[ -z "$changed" ] || fail "installed files changed: $changed"
echo "PASS: package built and checked; the installed program keeps its files in HOME/.local/share/nonari"
