#!/bin/sh
# End to end: starts the real program under Xvfb, plays a timed game from the menu to the
# solved board with mouse and keys, enters a name for the hall of fame and ends the program.
# Usage: play_game.sh <nonari binary> <source dir>
set -eu

program=$(readlink -f "$1")
# The real window system of the virtual screen, whatever the other tests use.
export QT_QPA_PLATFORM=xcb
if [ -z "${NONARI_E2E_INNER:-}" ]; then
    NONARI_E2E_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

work=$(mktemp -d)
shot="$work/shot.png"
log="$work/nonari.log"
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$shot" ] && cp "$shot" "${TMPDIR:-/tmp}/nonari-e2e-failure.png" && echo "screenshot: ${TMPDIR:-/tmp}/nonari-e2e-failure.png" >&2
    [ -f "$log" ] && cat "$log" >&2
    exit 1
}

snap() { import -window root "$shot"; }
# Waits up to ten seconds for a visible window with that name; prints its id.
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
# Colour of a screen pixel as RRGGBB.
pixel() { convert "$shot" -format "%[hex:p{$1,$2}]" info: | cut -c1-6; }
# Colour of a pixel of the client drawing area.
canvas() { pixel $((ox + $1)) $((oy + $2)); }
expect_canvas() {
    got=$(canvas "$1" "$2")
    [ "$got" = "$3" ] || fail "pixel ($1, $2) is $got, expected $3 ($4)"
}

# A valid solution grid; the collection's puzzle is this grid with cell (5, 5) left open.
digit() { echo $(( ( ($2 - 1) * 3 + ($2 - 1) / 3 + ($1 - 1) ) % 9 + 1 )); }
byte() { printf "\\$(printf '%03o' "$1")"; }
grid_image() {
    for r in 0 1 2 3 4 5 6 7 8 9; do
        for c in 0 1 2 3 4 5 6 7 8 9; do
            if [ "$r" -eq 0 ] || [ "$c" -eq 0 ] || { [ "$r" -eq 5 ] && [ "$c" -eq 5 ]; }; then byte 0
            else byte "$(digit "$c" "$r")"; fi
        done
    done
}
record() {
    grid_image
    grid_image
    head -c 1000 /dev/zero
    i=0
    while [ $i -lt 1000 ]; do byte 5; i=$((i + 1)); done
}
cd "$work"
record > one.rec
cat one.rec one.rec one.rec one.rec > leicht.nnr
rm one.rec
[ "$(stat -c %s leicht.nnr)" -eq 8800 ] || fail "test collection has the wrong size"

NONARI_HOME="$work" NONARI_SEED=7 "$program" > "$log" 2>&1 &
pid=$!
win=$(wait_window "Nonari QV V5.0 by Pelmo")
xdotool windowfocus --sync "$win"
sleep 1
snap

# Where the client drawing area lies: the first red pixel of the block line at x 208 is y 44.
eval "$(xdotool getwindowgeometry --shell "$win")"
ox=$((X + 208))
oy=$(convert "$shot" -crop "1x300+$ox+$Y" +repage txt:- | awk -F'[,:]' '/#FF0000/ { print $2; exit }')
[ -n "$oy" ] || fail "no red block line found"
ox=$X
oy=$((Y + oy - 44))
[ "$X" -eq 81 ] || fail "window not centred: x $X"

# The empty first screen: frames, red block lines over the black cell lines, white field.
expect_canvas 208 100 FF0000 "block line"
expect_canvas 209 100 FF0000 "block line"
expect_canvas 89 100 000000 "cell line"
expect_canvas 60 100 FFFFFF "white field"
expect_canvas 20 300 FFFFFF "raised board frame, light edge"
expect_canvas 577 300 404040 "raised board frame, dark edge"
expect_canvas 700 530 FFFFFF "help panel field"

# "Nonari" -> "Neues Spiel" by keys.
xdotool key --window "$win" alt+n
sleep 0.5
xdotool key n
sleep 1.5
snap

# Find the one open cell: entry cells are white, given cells light grey.
open_cell=""
for r in 1 2 3 4 5 6 7 8 9; do
    for c in 1 2 3 4 5 6 7 8 9; do
        if [ "$(canvas $((29 + (c - 1) * 60 + 3)) $((45 + (r - 1) * 60 + 3)))" = "FFFFFF" ]; then
            open_cell="$c $r"
        fi
    done
done
[ -n "$open_cell" ] || fail "no open cell after a new game"
set -- $open_cell
cx=$((ox + 29 + ($1 - 1) * 60 + 30))
cy=$((oy + 45 + ($2 - 1) * 60 + 30))

# Try the digits with the picker: click the cell, type a digit; the right one wins the game
# and the name form appears.
champ=""
for d in 1 2 3 4 5 6 7 8 9; do
    xdotool mousemove "$cx" "$cy" click 1
    sleep 0.4
    xdotool type "$d"
    sleep 0.6
    champ=$(xdotool search --onlyvisible --name "Neuer Rekord" 2>/dev/null | head -n 1 || true)
    [ -n "$champ" ] && break
done
[ -n "$champ" ] || fail "the game was not won"
snap
expect_canvas $((29 + ($1 - 1) * 60 + 3)) $((45 + ($2 - 1) * 60 + 3)) FFFFFF "entered cell"

# The name form: type a name and confirm it.
xdotool windowfocus --sync "$champ"
xdotool key ctrl+a
xdotool type "Testspieler"
xdotool key Return
ruhm=$(wait_window "Ruhmeshalle")
sleep 0.5
snap
xdotool windowfocus --sync "$ruhm"
xdotool key alt+o
sleep 0.5

[ -f Champions.Rhm ] || fail "no hall-of-fame file"
[ "$(wc -l < Champions.Rhm)" -eq 150 ] || fail "hall-of-fame file has $(wc -l < Champions.Rhm) lines"
[ "$(sed -n 1p Champions.Rhm | tr -d '\r')" = "Testspieler" ] || fail "name not stored at Leicht place 1"
sed -n 3p Champions.Rhm | tr -d '\r' | grep -Eq '^00:00:[0-9]{2}\.[0-9]$' || fail "time not stored"

# Leave the play screen with Escape, then end the program through the menu and "JA".
xdotool windowfocus --sync "$win"
xdotool key Escape
sleep 0.6
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
echo "PASS: played and won a game, stored the record, ended the program"
