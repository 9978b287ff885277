#!/bin/sh
# End to end: builds the Debian package from this build tree, checks its files and fields, unpacks it
# into a fresh root and starts the unpacked program under Xvfb from another folder with a fresh HOME:
# a new game comes from the installed collections, a saved board lands in HOME/.local/share/nonari
# and nowhere else, the manual opens; then once more on a 2000 x 1500 screen scaled by 2.
# Usage: install_package.sh <nonari binary of the build tree> <source dir>
set -eu

build=$(cd "$(dirname "$1")" && pwd)
source_dir=$(cd "$2" && pwd)
export QT_QPA_PLATFORM=xcb
pid=""

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/shot.png" ] && cp "$work/shot.png" "${TMPDIR:-/tmp}/nonari-install-failure.png" &&
        echo "screenshot: ${TMPDIR:-/tmp}/nonari-install-failure.png" >&2
    [ -f "$work/nonari.log" ] && cat "$work/nonari.log" >&2
    exit 1
}

# --- Inside a virtual screen: the unpacked program as a player starts it ---------------
snap() { import -window root -depth 8 "$work/shot.png"; }
pixel() { convert "$work/shot.png" -format "%[hex:p{$1,$2}]" info: | cut -c1-6; }
wait_window() {
    i=0
    while [ $i -lt 100 ]; do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -v "^${2:-none}$" | head -n 1 || true)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
        i=$((i + 1))
    done
    fail "no window \"$1\" appeared"
}
start_program() {
    cd "$work/elsewhere"
    env -u NONARI_HOME -u XDG_DATA_HOME -u NONARI_DATA_DIR HOME="$work/home" "$@" "$work/root/usr/bin/nonari" \
        > "$work/nonari.log" 2>&1 &
    pid=$!
    cd "$work"
    win=$(wait_window "Nonari QV V5.0 by Pelmo")
    xdotool windowfocus --sync "$win"
    sleep 0.5
}
end_program() {
    xdotool windowfocus --sync "$win"
    xdotool key --window "$win" alt+n
    sleep 0.5
    xdotool key b
    question=$(wait_window "Nonari" "$win")
    xdotool windowfocus --sync "$question"
    xdotool key j
    i=0
    while kill -0 "$pid" 2>/dev/null; do
        i=$((i + 1))
        [ $i -gt 50 ] && fail "program did not end after JA"
        sleep 0.1
    done
    wait "$pid" || fail "program ended with status $?"
    pid=""
}

play_and_save() {
    start_program env NONARI_SEED=3
    xdotool search --classname '^nonari$' | grep -qx "$win" || fail "the window's instance name is not nonari"
    xdotool search --class '^nonari$' | grep -qx "$win" || fail "the window's class is not nonari"

    # A new game from the installed collections, left at once, then saved in slot 2.
    xdotool key --window "$win" alt+n
    sleep 0.5
    xdotool key n
    sleep 1
    xdotool key Escape
    sleep 0.5
    xdotool key --window "$win" alt+o
    sleep 0.5
    xdotool key s
    slots=$(wait_window "Sichern unter" "$win")
    xdotool windowfocus --sync "$slots"
    xdotool key 2
    sleep 1
    xdotool windowfocus --sync "$win"
    xdotool key Escape
    sleep 0.5

    # The manual comes from the installed data folder.
    xdotool key --window "$win" alt+h
    sleep 0.5
    xdotool key a
    viewer=$(wait_window "Menüpunkte" "$win")
    xdotool windowunmap "$viewer"
    snap
    end_program

    saved="$work/home/.local/share/nonari/brett.nnr"
    [ -f "$saved" ] || fail "no brett.nnr in HOME/.local/share/nonari"
    [ "$(stat -c %s "$saved")" -eq 8800 ] || fail "brett.nnr has $(stat -c %s "$saved") bytes"
    # Slot 2 holds the new game's givens: the collection was read from the installed data.
    givens=$(od -An -tu1 -j 2300 -N 100 "$saved" | tr -s ' ' '\n' | grep -c '^[1-9]$' || true)
    [ "$givens" -ge 17 ] || fail "the saved board has $givens givens: no collection was found"
    # The game's files are in the player's folder and nowhere else; libraries may keep caches.
    found=$(cd "$work" && find home elsewhere root -type f ! -path 'home/.cache/*' ! -path 'root/usr/*' | sort)
    changed=$(cd "$work" && find root -type f -newer "$work/unpacked" | sort)
    [ "$found" = "home/.local/share/nonari/brett.nnr" ] || fail "files written: $found"
    [ -z "$changed" ] || fail "installed files changed: $changed"
}

scaled_by_two() {
    start_program env QT_SCALE_FACTOR=2
    snap
    eval "$(xdotool getwindowgeometry --shell "$win")"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] || fail "window at $X,$Y lies off the screen"
    [ $((X + WIDTH)) -le 2000 ] && [ $((Y + HEIGHT)) -le 1500 ] || fail "window $WIDTH x $HEIGHT at $X,$Y leaves the screen"
    [ "$WIDTH" -eq 1724 ] || fail "the window is $WIDTH device pixels wide, not 2 x 862"
    # Logical x 208..209 (a red block line) is four device pixels of red, 89 (a black cell line) two of black.
    top=$(convert "$work/shot.png" -crop "1x600+$((X + 416))+$Y" +repage txt:- | awk -F'[,:]' '/#FF0000/ { print $2; exit }')
    [ -n "$top" ] || fail "no red block line found"
    row=$((Y + top + 100))
    for dx in -1 0 1 2 3 4; do
        got=$(pixel $((X + 416 + dx)) "$row")
        case $dx in
        -1 | 4) [ "$got" != FF0000 ] || fail "the block line is wider than 4 device pixels" ;;
        *) [ "$got" = FF0000 ] || fail "block line pixel $dx is $got" ;;
        esac
    done
    [ "$(pixel $((X + 178)) "$row")$(pixel $((X + 179)) "$row")" = 000000000000 ] || fail "cell line"
    [ "$(pixel $((X + 177)) "$row")$(pixel $((X + 180)) "$row")" = FFFFFFFFFFFF ] || fail "cell line too wide"
    end_program
}

if [ -n "${NONARI_INSTALL_STEP:-}" ]; then
    work=$NONARI_INSTALL_WORK
    trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null || true' EXIT
    $NONARI_INSTALL_STEP
    exit 0
fi

# --- The package ------------------------------------------------------------------------
for tool in cpack dpkg-deb dpkg-shlibdeps file xvfb-run xdotool; do
    command -v "$tool" >/dev/null 2>&1 ||
        { echo "SKIPPED: $tool is not installed (tools/packages.sh lists it for the tests)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/home" "$work/elsewhere"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/package/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no package was built"
case "$(basename "$deb")" in nonari_5.0_*.deb) ;; *) fail "package file name $(basename "$deb")" ;; esac

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort > "$work/files"
{
    echo ./usr/bin/nonari
    echo ./usr/libexec/nonari/nonari-manual-page
    echo ./usr/share/applications/nonari.desktop
    echo ./usr/share/icons/hicolor/256x256/apps/nonari.png
    echo ./usr/share/icons/hicolor/48x48/apps/nonari.png
    echo ./usr/share/icons/hicolor/scalable/apps/nonari.svg
    echo ./usr/share/man/man6/nonari.6.gz
    echo "./usr/share/metainfo/$(cd "$source_dir/desktop" && ls ./*.metainfo.xml | cut -c3-)"
    for f in "$source_dir"/data/*; do echo "./usr/share/nonari/$(basename "$f")"; done
} | sort > "$work/expected"
diff -u "$work/expected" "$work/files" || fail "the package holds other files than expected"

[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the section is not games"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libchm1 qt6-qpa-plugins fonts-liberation2; do
    echo "$depends" | grep -Eq "(^|, )$needed( |,|$)" || fail "Depends lacks $needed: $depends"
done

dpkg-deb -x "$deb" "$work/root"
touch "$work/unpacked"
program="$work/root/usr/bin/nonari"
# A packaged program knows no path of the machine that built it. A sanitizer build, which is never
# shipped, names its source files in its reports.
if strings -a "$program" | grep -q '__asan_init'; then
    echo "note: sanitizer build, its source paths are not checked"
else
    for here in "$source_dir" "$build"; do
        if strings -a "$program" | grep -qF "$here"; then fail "the program holds the path $here"; fi
    done
fi
gzip -dc "$work/root/usr/share/man/man6/nonari.6.gz" | grep -q '^\.TH NONARI 6' || fail "the manual page"

# --- The command line -------------------------------------------------------------------
[ "$("$program" --version)" = "Nonari 5.0" ] || fail "--version says: $("$program" --version)"
"$program" --help | grep -q '^Aufruf: nonari' || fail "--help"
status=0
HOME="$work/elsewhere" "$program" -platform offscreen --unbekannt > "$work/out" 2>&1 || status=$?
grep -q 'unbekannte Option' "$work/out" || fail "an unknown option: $(cat "$work/out")"
[ "$status" -eq 2 ] || fail "an unknown option gave status $status"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "a refused start left files behind"

NONARI_INSTALL_WORK=$work NONARI_INSTALL_STEP=play_and_save xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
NONARI_INSTALL_WORK=$work NONARI_INSTALL_STEP=scaled_by_two xvfb-run -a -s "-screen 0 2000x1500x24" "$0" "$@"
echo "PASS: package built and checked; installed program keeps its files in HOME/.local/share/nonari, sharp at 2x"
