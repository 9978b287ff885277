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
# The collection's puzzle is a valid grid with cell (5, 5) left open.
is_open() { [ "$1" -eq 5 ] && [ "$2" -eq 5 ]; }
cd "$work"
write_collection leicht.nnr

# A pipe in place of the background picture must neither hold the start up nor show.
mkfifo muster.jpg
start_program env NONARI_HOME="$work" NONARI_SEED=7 "$program"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$X" -eq 81 ] || fail "window not centred: x $X"
find_canvas

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
