#!/bin/sh
# Measures what a running game clock costs: starts the real game under Xvfb, starts a timed game from
# the menu, leaves the player thinking and reads the wake-ups and CPU time of the clock thread.
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

# Wake-ups (switches after the task slept) and CPU ticks of one task, or of the whole process; switches
# forced by other busy tasks on the machine are not the clock's doing.
switches() {
    awk '/^voluntary_ctxt_switches/ { print $2 }' "$1/status"
}
ticks() { awk '{ print $14 + $15 }' "$1/stat"; }
sample() {
    for t in $clock; do echo "clock $t $(switches "/proc/$pid/task/$t") $(ticks "/proc/$pid/task/$t")"; done
    echo "process - $(for t in $(tasks); do switches "/proc/$pid/task/$t"; done | awk '{ n += $1 } END { print n }') $(ticks "/proc/$pid")"
}
start=$(sample)
sleep "$seconds"
finish=$(sample)

hz=$(getconf CLK_TCK)
echo "$start" > "$work/start"
echo "$finish" | awk -v s="$seconds" -v hz="$hz" -v startFile="$work/start" '
    BEGIN { while ((getline line < startFile) > 0) { split(line, f, " "); sw[f[1] f[2]] = f[3]; tk[f[1] f[2]] = f[4] } }
    {
        key = $1 $2
        wake = ($3 - sw[key]) / s
        cpu = 100.0 * ($4 - tk[key]) / hz / s
        limit = 100.0 / hz / s
        what = $1 == "clock" ? "clock thread " $2 : "whole process"
        printf "%-20s %6.2f wake-ups/s   CPU %s%% of a core over %d s\n", what, wake,
               ($4 == tk[key]) ? sprintf("< %.3f", limit) : sprintf("%.3f", cpu), s
    }'
