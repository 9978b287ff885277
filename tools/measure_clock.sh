#!/bin/sh
# Measures what a running game clock costs: starts the real game under Xvfb, starts a timed game from
# the menu, leaves the player thinking and reads the wake-ups and CPU time of the clock thread.
# Prints the clock thread, each thread of the process and the whole process.
# Usage: measure_clock.sh [nonari binary] [seconds]    (defaults: build-test/nonari, 20)
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
program=$(readlink -f "${1:-$root/build-test/nonari}")
seconds=${2:-20}
export QT_QPA_PLATFORM=xcb
if [ -z "${NONARI_MEASURE_INNER:-}" ]; then
    NONARI_MEASURE_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program" "$seconds"
fi

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cd "$work"
NONARI_HOME="$work" "$program" > "$work/log" 2>&1 &
pid=$!

win=""
i=0
while [ -z "$win" ] && [ $i -lt 100 ]; do
    win=$(xdotool search --onlyvisible --name "Nonari QV" 2>/dev/null | head -n 1 || true)
    sleep 0.1
    i=$((i + 1))
done
[ -n "$win" ] || { echo "no game window appeared" >&2; cat "$work/log" >&2; exit 1; }
xdotool windowfocus --sync "$win"
sleep 1

tasks() { ls "/proc/$pid/task" | sort; }
before=$(tasks)
xdotool key --window "$win" alt+n
sleep 0.5
xdotool key n
sleep 1.5
# The clock thread is the task the timed game started.
clock=$(tasks | grep -vxF "$before" || true)
[ -n "$clock" ] || { echo "no clock thread started" >&2; exit 1; }

# Wake-ups (switches after the task slept) and CPU ticks of each task; switches forced by other busy
# tasks on the machine are not the clock's doing.
switches() {
    awk '/^voluntary_ctxt_switches/ { print $2 }' "$1/status"
}
ticks() { awk '{ print $14 + $15 }' "$1/stat"; }
# One line a thread: its kind (the clock's, or another), id and name, wake-ups and CPU ticks so far.
sample() {
    for t in $(tasks); do
        kind=thread
        echo "$clock" | grep -qx "$t" && kind=clock
        echo "$kind $t:$(tr -d ' ' < "/proc/$pid/task/$t/comm") $(switches "/proc/$pid/task/$t") $(ticks "/proc/$pid/task/$t")"
    done
}
start=$(sample)
sleep "$seconds"
finish=$(sample)

hz=$(getconf CLK_TCK)
echo "$start" > "$work/start"
# The whole process is the sum of its threads: a thread started meanwhile counts from its start; what a
# thread that ended meanwhile did is lost with it.
echo "$finish" | awk -v s="$seconds" -v hz="$hz" -v startFile="$work/start" '
    BEGIN { while ((getline line < startFile) > 0) { split(line, f, " "); sw[f[2]] = f[3]; tk[f[2]] = f[4] } }
    function show(what, wakes, ticks) {
        printf "%-32s %6.2f wake-ups/s   CPU %s%% of a core over %d s\n", what, wakes / s,
               ticks == 0 ? sprintf("< %.3f", 100.0 / hz / s) : sprintf("%.3f", 100.0 * ticks / hz / s), s
    }
    {
        wakes = $3 - sw[$2]
        ticks = $4 - tk[$2]
        allWakes += wakes
        allTicks += ticks
        show(($1 == "clock" ? "clock thread " : "  thread ") $2, wakes, ticks)
    }
    END { show("whole process", allWakes, allTicks) }'
