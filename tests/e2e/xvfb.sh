# Sourced by end-to-end tests: starts a private Xvfb (with a window manager,
# so the demo's window gets focus) and stops it when the test exits, and
# counts the test's checks.

# check DESCRIPTION CONDITION: prints "ok" or "FAILED" with it; a failure
# sets fail, the test's exit code.
fail=0
check() {
    if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi
}

XVFB_SIZE=${XVFB_SIZE:-1024x768}

start_xvfb() {
    local n first=90 last=140
    # KIRUPO_TEST_DISPLAYS ("120-129") keeps the search within a given range.
    if [[ ${KIRUPO_TEST_DISPLAYS:-} =~ ^([0-9]+)-([0-9]+)$ ]]; then
        first=${BASH_REMATCH[1]} last=${BASH_REMATCH[2]}
    fi
    for n in $(seq "$first" "$last"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${XVFB_SIZE}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if kill -0 $XVFB_PID 2>/dev/null; then
            export DISPLAY=":$n"
            trap stop_xvfb EXIT
            return 0
        fi
    done
    echo "cannot start Xvfb" >&2
    exit 1
}

# A display number that nothing serves, within KIRUPO_TEST_DISPLAYS when
# given, searched from the top so as to stay clear of start_xvfb's.
free_display() {
    local n first=90 last=140
    if [[ ${KIRUPO_TEST_DISPLAYS:-} =~ ^([0-9]+)-([0-9]+)$ ]]; then
        first=${BASH_REMATCH[1]} last=${BASH_REMATCH[2]}
    fi
    for n in $(seq "$last" -1 "$first"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { echo "$n"; return; }
    done
}

start_xvfb_with_wm() {
    start_xvfb
    matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &
    WM_PID=$!
    sleep 0.5
}

stop_xvfb() {
    [ -n "${WM_PID:-}" ] && kill $WM_PID 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill $XVFB_PID 2>/dev/null
    wait 2>/dev/null
}

# Prints the id of the window titled KIRUPO once it appears, waiting up to
# the given tenths of a second (default 100); prints nothing if it never does.
demo_window() {
    local win _
    for _ in $(seq "${1:-100}"); do
        win=$(xdotool search --name '^KIRUPO$' 2>/dev/null | head -n1)
        [ -n "$win" ] && { echo "$win"; return; }
        sleep 0.1
    done
}
