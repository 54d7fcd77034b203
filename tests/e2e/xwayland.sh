#!/bin/bash
# The demo on a Wayland desktop, through Weston's Xwayland. On the headless
# backend at 1920x1080, whose Xwayland lists a 640x480 mode that it only
# emulates and gives X clients no keyboard: by default the demo shows the
# desktop method, the picture centred from x 240 to 1680 between black bars,
# and SIGTERM ends it with 143; --fullscreen says so in one line and shows
# the same; ten starts in a row all draw; --start 69 ends by itself with 0,
# also in a window that never becomes active. On Weston's X11 backend inside
# Xvfb, whose keyboard Weston takes as a real one, Escape pressed there ends
# every method with 0. Skipped (exit 77) where Weston cannot start.
# Arguments: the demo.
set -u
demo=$(realpath "$1")
script=$(realpath "$0")
here=$(dirname "$script")
source "$here/xvfb.sh"
export SDL_AUDIODRIVER=dummy DBUS_SESSION_BUS_ADDRESS=disabled:

skip() {
    echo "skipped: $1"
    exit 77
}

# Weston's Xwayland takes the lowest display number without a lock file.
# So that it takes one of ours, the test runs in a mount namespace of its
# own whose private /tmp has lock files for every number below it (and for
# those in use outside), which nobody else sees.
if [ -z "${KIRUPO_PRIVATE_TMP:-}" ]; then
    command -v weston >/dev/null && command -v Xwayland >/dev/null || skip "weston or Xwayland is not installed"
    taken=$(ls -a /tmp /tmp/.X11-unix 2>/dev/null | sed -nE 's/^\.?X([0-9]+)(-lock)?$/\1/p' | sort -un | tr '\n' ' ')
    KIRUPO_WAYLAND_X=$(free_display)
    KIRUPO_OUTER_X=$(free_display "$KIRUPO_WAYLAND_X")
    [ -n "$KIRUPO_WAYLAND_X" ] && [ -n "$KIRUPO_OUTER_X" ] || { echo "FAILED: no two free display numbers"; exit 1; }
    export KIRUPO_PRIVATE_TMP=1 KIRUPO_TAKEN_X="$taken" KIRUPO_WAYLAND_X KIRUPO_OUTER_X
    for user in "" --map-root-user; do
        unshare $user --mount true 2>/dev/null && exec unshare $user --mount bash "$script" "$@"
    done
    echo "note: no mount namespace here: Xwayland takes the lowest free display number"
    KIRUPO_PRIVATE_TMP=0
fi
if [ "$KIRUPO_PRIVATE_TMP" = 1 ]; then
    # The real /tmp stays reachable at /mnt, and everything in it but the X
    # server's files at its own path: the build under test may lie in /tmp.
    mount --bind /tmp /mnt && mount -t tmpfs -o mode=1777 tmpfs /tmp || { echo "FAILED: no private /tmp"; exit 1; }
    for entry in /mnt/* /mnt/.[!.]*; do
        case ${entry#/mnt/} in '*' | '.[!.]*' | .X11-unix | .X*-lock) continue ;; esac
        ln -s "$entry" "/tmp/${entry#/mnt/}"
    done
    mkdir -m 1777 /tmp/.X11-unix
    for n in $KIRUPO_TAKEN_X $(seq 0 $((KIRUPO_WAYLAND_X - 1))); do
        printf '%10d\n' $$ >"/tmp/.X$n-lock"
    done
fi

out=$(mktemp -d)
runtime=$(mktemp -d) # XDG_RUNTIME_DIR: the Wayland socket, private to us (mktemp makes it 0700)
cleanup() {
    [ -n "${weston_pid:-}" ] && kill "$weston_pid" 2>/dev/null
    stop_xvfb
    rm -rf "$out" "$runtime"
}
trap cleanup EXIT
cd "$(dirname "$demo")"

# Starts Weston with Xwayland on the given backend and sets DISPLAY to its
# Xwayland; returns 1 if it does not come up within 10 s.
start_weston() { # backend options...
    XDG_RUNTIME_DIR=$runtime weston --backend="$1" --use-pixman --xwayland --debug --idle-time=0 \
        --socket=wayland-kirupo "${@:2}" >"$out/weston.log" 2>&1 &
    weston_pid=$!
    local n= _
    for _ in $(seq 100); do
        n=$(sed -nE 's/.*xserver listening on display :([0-9]+).*/\1/p' "$out/weston.log")
        [ -n "$n" ] && [ -e "$runtime/wayland-kirupo" ] && break
        kill -0 $weston_pid 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$n" ] || return 1
    export DISPLAY=":$n" WAYLAND_DISPLAY=wayland-kirupo XDG_RUNTIME_DIR=$runtime
    xdpyinfo >/dev/null 2>&1 # Xwayland starts with its first client
}

stop_weston() {
    kill "$weston_pid"
    wait "$weston_pid" 2>/dev/null
    weston_pid=
}

# Takes a screenshot of Weston's output into the given file.
screenshot() { # file
    (cd "$out" && rm -f wayland-screenshot*.png && weston-screenshooter >/dev/null 2>&1 &&
        mv wayland-screenshot*.png "$1")
}

# Waits up to 5 s for the demo to draw: its window over the whole screen,
# black at the left edge (neither the desktop nor the panel shows), and a
# picture in the middle (an undrawn window is black all over). The last
# screenshot is left in $out/shot.png.
wait_for_picture() {
    local _
    for _ in $(seq 20); do
        screenshot "$out/shot.png" && [ "$(brightest "$out/shot.png" 240x1080+0+0)" -eq 0 ] &&
            [ "$(brightest "$out/shot.png" 1440x1080+240+0)" -gt 0 ] && return 0
        sleep 0.25
    done
    return 1
}

start_weston headless-backend.so --width=1920 --height=1080 ||
    skip "Weston's headless backend does not start: $(tail -n 3 "$out/weston.log" | tr '\n' ' ')"
echo "Weston's Xwayland on $DISPLAY"

for method in "" --fullscreen; do
    name=${method:-"no option"}
    "$demo" $method --start 52 2>"$out/err" &
    pid=$!
    wait_for_picture
    [ -n "${KIRUPO_KEEP_FRAMES:-}" ] && cp "$out/shot.png" "$KIRUPO_KEEP_FRAMES/xwayland-${name// /-}.png"
    stop_demo $pid TERM
    check "$name: SIGTERM ends the demo with 143 (got $rc)" "[ $rc -eq 143 ]"
    check_centred_on_1920x1080 "$name" "$out/shot.png"
done
check "--fullscreen says in one line that the switch is emulated: $(cat "$out/err")" \
    "[ \$(wc -l <\"$out/err\") -eq 1 ] && grep -q emulates \"$out/err\""

drawn=0
for _ in $(seq 10); do
    "$demo" --start 52 &
    pid=$!
    wait_for_picture && drawn=$((drawn + 1))
    stop_demo $pid TERM
done
check "10 starts in a row all draw ($drawn did)" "[ $drawn -eq 10 ]"

# The headless backend gives no window the focus: an ordinary window stays
# inactive, and the timeline's end by the music's clock ends it all the same.
for method in "" --window; do
    "$demo" $method --start 69 &
    pid=$!
    wait_for_end $pid 150
    check "${method:-no option}: --start 69 ends by itself with 0 (got $rc)" "[ $rc -eq 0 ]"
done
stop_weston

# Weston's X11 backend in an Xvfb of our own: keys pressed there are Weston's
# own keyboard, which it hands to the window it has focused.
[ "$KIRUPO_PRIVATE_TMP" = 1 ] && rm "/tmp/.X$KIRUPO_OUTER_X-lock"
KIRUPO_TEST_DISPLAYS=$KIRUPO_OUTER_X-$KIRUPO_OUTER_X start_xvfb
trap cleanup EXIT # start_xvfb sets its own
outer=$DISPLAY
start_weston x11-backend.so --width=1024 --height=768 ||
    { echo "FAILED: Weston's X11 backend does not start: $(tail -n 3 "$out/weston.log")"; exit 1; }
for method in "" --desktop --window --fullscreen; do
    "$demo" $method 2>/dev/null &
    pid=$!
    win=$(demo_window 50)
    sleep 1.5
    DISPLAY=$outer xdotool key Escape
    wait_for_end $pid 50
    check "${method:-no option}: Escape on the keyboard ends the demo with 0 (got $rc)" "[ -n \"$win\" ] && [ $rc -eq 0 ]"
done

exit $fail
