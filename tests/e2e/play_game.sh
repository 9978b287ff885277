#!/bin/sh
# End to end: starts the real program under Xvfb beside a pipe named muster.jpg and plays a timed game from
# "Neues Spiel" to the hall of fame: by keys the cell cursor, digits, a note, a wrong digit marked red and taken
# out, Ctrl+Z and Ctrl+Y and a pause the recorded time leaves out; by mouse the picker and a right click.
# Usage: play_game.sh <nonari binary> <source dir>
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

program=$(readlink -f "$1")
export QT_QPA_PLATFORM=xcb  # the real window system of the virtual screen, whatever the other tests use
. "$(dirname "$0")/support/x11.sh"
in_virtual_screen "$@"
cd "$work"
# Four equal records (the board, its givens, 2000 bytes of notes) of a valid grid with its nine 5s open: every open
# cell of the shuffled game wants one and the same digit.
awk 'BEGIN {
    for (n = 0; n < 8; ++n) {
        for (i = 0; i < 100; ++i) {
            c = i % 10; r = int(i / 10); d = ((r - 1) * 3 + int((r - 1) / 3) + c - 1) % 9 + 1
            printf "%c", (c && r && d != 5) ? d : 0
        }
        for (i = 0; n % 2 && i < 2000; ++i) printf "%c", 0
    }
}' > leicht.nnr
mkfifo muster.jpg  # must neither hold the start up nor show

# How many pixels of a colour lie in a cell's inside.
cell_count() {
    convert "$work/shot.png" -crop "50x50+$((ox + 29 + ($1 - 1) * 60 + 5))+$((oy + 45 + ($2 - 1) * 60 + 5))" \
        +repage txt:- | grep -c "#$3" || true
}
# Fails with $4 unless the number of pixels of colour $1 in the current cell, seen afresh, passes the test $2 $3.
expect() { snap; [ "$(cell_count $cc $cr "$1")" "$2" "$3" ] || fail "$4"; }
# Clicks with button $1 at cell ($2, $3), or with a digit $4 on that square of the picker open over it.
click() {
    dx=30 dy=30
    [ -z "${4:-}" ] || { dx=$((($4 - 1) % 3 * 30 - 1)); dy=$((($4 - 1) / 3 * 30 - 1)); }
    xdotool mousemove $((ox + 29 + ($2 - 1) * 60 + dx)) $((oy + 45 + ($3 - 1) * 60 + dy)) click "$1"
    sleep 0.5
}

start_program env NONARI_HOME="$work" NONARI_SEED=11 "$program"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$X" -eq 81 ] || fail "window not centred: x $X"
find_canvas

keys alt+n
keys n
started=$(date +%s.%N)
sleep 1
snap
open=""
for r in 1 2 3 4 5 6 7 8 9; do
    for c in 1 2 3 4 5 6 7 8 9; do
        [ "$(canvas $((29 + (c - 1) * 60 + 3)) $((45 + (r - 1) * 60 + 3)))" = FFFFFF ] && open="$open $c,$r"
    done
done
[ "$(echo $open | wc -w)" -eq 9 ] || fail "expected nine open cells, found:$open"
given_x=$((29 + 3)); given_y=$((45 + 3))
[ "$(canvas $given_x $given_y)" = C0C0C0 ] || { given_x=$((given_x + 60)); }

# The first arrow shows the cursor on the top-left cell.
keys Right
snap
[ "$(canvas 32 48)" = 0000BC ] || fail "no cursor frame on the first cell"
cc=1 cr=1
go() {
    moves=""
    while [ "$cc" -lt "$1" ]; do moves="$moves Right"; cc=$((cc + 1)); done
    while [ "$cc" -gt "$1" ]; do moves="$moves Left"; cc=$((cc - 1)); done
    while [ "$cr" -lt "$2" ]; do moves="$moves Down"; cr=$((cr + 1)); done
    while [ "$cr" -gt "$2" ]; do moves="$moves Up"; cr=$((cr - 1)); done
    [ -z "$moves" ] || keys $moves
}

n=0
answer=""
for cell in $open; do
    n=$((n + 1))
    go "${cell%,*}" "${cell#*,}"
    if [ $n -eq 1 ]; then
        # Digits that clash are drawn red and taken out again with Delete.
        for d in 1 2 3 4 5 6 7 8 9; do
            keys "$d"
            snap
            [ "$(cell_count $cc $cr FF0000)" -eq 0 ] && { answer=$d; break; }
            keys Delete
        done
        [ -n "$answer" ] || fail "every digit clashed"
        wrong=$((answer % 9 + 1))
        continue
    fi
    if [ $n -eq 2 ]; then
        keys "$wrong"
        expect FF0000 -gt 50 "a wrong digit is not marked"
        keys BackSpace
        expect FF0000 -eq 0 "the mark stayed after the digit went"
    fi
    if [ $n -eq 3 ]; then
        keys "shift+$answer"
        expect 000000 -gt 5 "no note"
        expect 000000 -lt 150 "a note looks like a digit"
        keys "$answer" ctrl+z
        expect 000000 -lt 150 "Ctrl+Z did not take the digit back"
        keys ctrl+y
        expect 000000 -ge 150 "Ctrl+Y did not bring the digit back"
        continue
    fi
    if [ $n -eq 4 ]; then
        # A pause of three seconds: the board is covered, and the time does not count them.
        keys p
        sleep 3
        snap
        [ "$(canvas $given_x $given_y)" = B4C9D0 ] || fail "the pause does not cover the board"
        keys p
        paused=3
    fi
    if [ $n -eq 5 ]; then
        # The wrong digit from the picker, taken out by a right click.
        click 1 $cc $cr
        click 1 $cc $cr "$wrong"
        expect FF0000 -gt 50 "the picker did not enter the wrong digit"
        click 3 $cc $cr
        expect 000000 -eq 0 "a right click left the cell inked"
        [ "$(cell_count $cc $cr FF0000)" -eq 0 ] || fail "a right click left the mark"
    fi
    if [ $n -eq 9 ]; then
        click 1 $cc $cr
        won_at=$(date +%s.%N)
        click 1 $cc $cr "$answer"
    else
        keys "$answer"
    fi
done

champ=$(wait_window "Neuer Rekord")
xdotool windowfocus --sync "$champ"
xdotool key ctrl+a type "Tastenspieler"
xdotool key Return
ruhm=$(wait_window "Ruhmeshalle")
xdotool windowfocus --sync "$ruhm"
keys alt+o
[ "$(wc -l < Champions.Rhm)" -eq 150 ] || fail "hall-of-fame file has $(wc -l < Champions.Rhm) lines"
[ "$(sed -n 1p Champions.Rhm | tr -d '\r')" = "Tastenspieler" ] || fail "name not stored"
recorded=$(sed -n 3p Champions.Rhm | tr -d '\r')
awk -v t="$recorded" -v wall="$(awk -v a="$started" -v b="$won_at" 'BEGIN { print b - a }')" -v p="$paused" \
    'BEGIN { split(t, f, ":"); s = f[1] * 3600 + f[2] * 60 + f[3]; exit !(s > 0 && s <= wall - p + 0.5) }' ||
    fail "recorded $recorded counts the pause"

xdotool windowfocus --sync "$win"
keys Escape
end_program
echo "PASS: won a game by keys and mouse, with marked wrong digits, a note, Ctrl+Z/Ctrl+Y and an uncounted pause"
