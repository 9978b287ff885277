#!/bin/sh
# Sets up, builds and runs every test headless (offscreen Qt; Xvfb for the end-to-end tests).
# tools/test.sh sanitize         the same under AddressSanitizer and UndefinedBehaviorSanitizer
# tools/test.sh thread           the unit tests and the Qt clock test under ThreadSanitizer (clang)
# tools/test.sh fuzz [seconds]   each fuzz target under libFuzzer for that long (60 s by default)
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
mode=${1:-}
export QT_QPA_PLATFORM=offscreen

case "$mode" in
fuzz)
    seconds=${2:-60}
    build="$root/build-fuzz"
    # The targets save files many times a second; in memory, syncing them to disk costs nothing.
    [ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
    export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
    "$here/setup.sh" "$build" "" fuzz
    found=0
    for target in board_record champions manual picture; do
        # New inputs go to a scratch corpus; the saved ones in tests/fuzz stay as they are.
        corpus="$build/corpus/$target"
        findings="$build/findings/$target"
        log="$build/fuzz-$target.log"
        # Findings are this run's: an old one that a mended target no longer reproduces would mislead.
        rm -rf "$findings"
        mkdir -p "$corpus" "$findings"
        echo "Fuzzing $target for $seconds s (log: $log)"
        status=0
        "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=60 -print_final_stats=1 \
            -artifact_prefix="$findings/" "$corpus" "$root/tests/fuzz/$target" >"$log" 2>&1 || status=$?
        runs=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | tail -1 || true)
        count=$(find "$findings" -type f | wc -l)
        echo "  $target: ${runs:-no summary (exit $status)}; findings: $count"
        [ "$status" -eq 0 ] && [ "$count" -eq 0 ] || found=1
    done
    exit "$found"
    ;;
thread)
    build="$root/build-thread"
    "$here/setup.sh" "$build" test thread
    cd "$build"
    export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
    ctest --output-on-failure -j 2 -L unit
    # The clock's text posted to the Qt label from its thread. The Qt clock tests that run a whole play
    # loop stay out: Qt's own thread pool, started by its painting, synchronises with futexes that
    # ThreadSanitizer cannot see in the uninstrumented Qt libraries, and reports races inside Qt alone.
    ctest --output-on-failure -R 'WindowTest\.LabelText'
    ;;
*)
    build="$root/build-test"
    [ "$mode" = sanitize ] && build="$root/build-sanitize"
    "$here/setup.sh" "$build" test "$mode"
    cd "$build"
    ctest --output-on-failure -j 2
    ;;
esac
