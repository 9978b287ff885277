#!/bin/sh
# End to end: starts the real program under Xvfb, plays a timed game from the menu to the
# solved board with mouse and keys, enters a name for the hall of fame and ends the program.
# Usage: play_game.sh <nonari binary> <source dir>
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

program=$(readlink -f "$1")
# The real window system of the virtual screen, whatever the other tests use.
export QT_QPA_PLATFORM=xcb
. "$(dirname "$0")/support/x11.sh"
in_virtual_screen "$@"
# The colour of a pixel of the client drawing area.
canvas() { pixel $((ox + $1)) $((oy + $2)); }

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

# A pipe in place of the background picture must neither hold the start up nor show.
mkfifo muster.jpg
start_program env NONARI_HOME="$work" NONARI_SEED=7 "$program"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$X" -eq 81 ] || fail "window not centred: x $X"
# Where the client drawing area lies, once it is drawn: the first red pixel of the block line at x 208 is y 44.
i=0
until snap && top=$(convert "$work/shot.png" -crop "1x300+$((X + 208))+$Y" +repage txt:- |
    awk -F'[,:]' '/#FF0000/ { print $2; exit }') && [ -n "$top" ]; do
    i=$((i + 1))
    [ $i -gt 50 ] && fail "no red block line found"
    sleep 0.2
done
ox=$X
oy=$((Y + top - 44))

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
        [ "$(canvas $((29 + (c - 1) * 60 + 3)) $((45 + (r - 1) * 60 + 3)))" = FFFFFF ] && open_cell="$c $r"
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

# The name form: type a name and confirm it.
xdotool windowfocus --sync "$champ"
xdotool key ctrl+a
xdotool type "Testspieler"
xdotool key Return
ruhm=$(wait_window "Ruhmeshalle")
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
end_program
echo "PASS: played and won a game, stored the record, ended the program"
