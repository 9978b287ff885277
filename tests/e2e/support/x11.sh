# X helpers the end-to-end scripts source: failing with a screenshot, pixels, windows, ending the program.
# The sourcing script sets $work, its scratch folder (with shot.png and nonari.log); start_program sets $pid and $win.
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs the sourcing script again inside a virtual screen; there, makes its scratch folder $work, which
# goes at exit together with a program still running.
in_virtual_screen() {
    if [ -z "${NONARI_E2E_INNER:-}" ]; then
        NONARI_E2E_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
    fi
    work=$(mktemp -d)
    pid=""
    trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
}

fail() {
    echo "FAIL: $*" >&2
    saved="${TMPDIR:-/tmp}/nonari-$(basename "$0" .sh)-failure.png"
    [ -f "$work/shot.png" ] && cp "$work/shot.png" "$saved" && echo "screenshot: $saved" >&2
    [ -f "$work/nonari.log" ] && cat "$work/nonari.log" >&2
    exit 1
}

snap() { import -window root -depth 8 "$work/shot.png"; }
# Types the keys into the focused window and gives the program time to act on them.
keys() { xdotool key --delay 40 "$@"; sleep 0.3; }

# Waits up to ten seconds for a visible window with that name, other than the window $2; prints its id.
wait_window() {
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -v "^${2:-none}$" | head -n 1 || true)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    fail "no window \"$1\" appeared"
}

# Starts the command in the background and focuses the game's window once it is shown.
start_program() {
    "$@" > "$work/nonari.log" 2>&1 &
    pid=$!
    win=$(wait_window "Nonari QV V5.0 by Pelmo")
    xdotool windowfocus --sync "$win"
}

# Ends the program through the menu and "JA" to "Spiel beenden?"; it must end with status 0.
end_program() {
    xdotool windowfocus --sync "$win"
    keys alt+n
    keys b
    question=$(wait_window "Nonari" "$win")
    xdotool windowfocus --sync "$question"
    xdotool key j
    timeout 5 tail --pid="$pid" -s 0.1 -f /dev/null || fail "program did not end after JA"
    wait "$pid" || fail "program ended with status $?"
    pid=""
}

# Sets $ox and $oy, the window position of the drawing area, once it is drawn: the first red pixel of
# the block line at x 208 is y 44.
find_canvas() {
    eval "$(xdotool getwindowgeometry --shell "$win")"
    for _ in $(seq 50); do
        snap
        top=$(convert "$work/shot.png" -crop "1x300+$((X + 208))+$Y" +repage txt:- |
            awk -F'[,:]' '/#FF0000/ { print $2; exit }')
        [ -n "$top" ] && break
        sleep 0.2
    done
    [ -n "$top" ] || fail "no red block line found"
    ox=$X oy=$((Y + top - 44))
}
# The colour of a pixel of the drawing area in the last screenshot, as RRGGBB.
canvas() { convert "$work/shot.png" -format "%[hex:p{$((ox + $1)),$((oy + $2))}]" info: | cut -c1-6; }
