# Sourced by end-to-end tests: starts a private Xvfb (with a window manager,
# so the demo's window gets focus) and stops it when the test exits, counts
# the test's checks, looks at screenshots and waits for the demo's exit code.

# check DESCRIPTION CONDITION: prints "ok" or "FAILED" with it; a failure
# sets fail, the test's exit code.
fail=0
check() {
    if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi
}

XVFB_SIZE=${XVFB_SIZE:-1024x768}

# The largest channel value in a rectangle of a screenshot: 0 is black.
brightest() { # file, WxH+X+Y
    convert "$1" -crop "$2" -format '%[fx:int(255*maxima)]' info:
}

# Checks a 1920x1080 screenshot of a picture whose every edge is drawn (the
# pink section at 52 s): black bars left and right, the picture from x 240
# to 1680, top to bottom.
check_centred_on_1920x1080() { # name, file
    check "$1: black bars left and right" \
        "[ $(brightest "$2" 240x1080+0+0) -eq 0 ] && [ $(brightest "$2" 240x1080+1680+0) -eq 0 ]"
    check "$1: the picture from x 240 to 1680, top to bottom" \
        "[ $(brightest "$2" 1x1080+240+0) -gt 0 ] && [ $(brightest "$2" 1x1080+1679+0) -gt 0 ] &&
         [ $(brightest "$2" 1440x1+240+0) -gt 0 ] && [ $(brightest "$2" 1440x1+240+1079) -gt 0 ]"
}

# Ends the demo with a signal; its exit code goes to rc (999 if it did not end within 10 s).
stop_demo() { # pid, signal
    kill -"$2" "$1"
    wait_for_end "$1" 100
}

# Waits up to the given tenths of a second for the demo to end by itself;
# its exit code goes to rc (999, and the demo killed, if it did not end).
wait_for_end() { # pid, tenths
    for _ in $(seq "$2"); do
        [ "$(ps -o stat= -p "$1" 2>/dev/null)" = "" ] || [[ $(ps -o stat= -p "$1") == Z* ]] && break
        sleep 0.1
    done
    if [[ $(ps -o stat= -p "$1" 2>/dev/null) == [^Z]* ]]; then kill -9 "$1"; wait "$1" 2>/dev/null; rc=999; else wait "$1"; rc=$?; fi
}

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
# given, searched from the top so as to stay clear of start_xvfb's; the
# numbers given are passed over too.
free_display() { # numbers not to choose...
    local n first=90 last=140
    if [[ ${KIRUPO_TEST_DISPLAYS:-} =~ ^([0-9]+)-([0-9]+)$ ]]; then
        first=${BASH_REMATCH[1]} last=${BASH_REMATCH[2]}
    fi
    for n in $(seq "$last" -1 "$first"); do
        [[ " $* " == *" $n "* ]] && continue
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
