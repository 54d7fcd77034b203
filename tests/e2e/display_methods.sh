#!/bin/bash
# The demo on today's screens. On a 1920x1080 Xvfb with a window manager
# (no 640x480 mode) the picture lies centred at x 240 to 1680 with black bars,
# with no option, --desktop and --window (at a moment on pink, whose every
# edge is drawn), and --fullscreen says in one line that it shows the desktop
# instead. On Xorg with the dummy driver (modes 1920x1080 and 640x480) the
# demo switches to 640x480, and SIGTERM, SIGINT and SIGHUP each end it in
# order with 143, 130 and 129 and the screen back at 1920x1080. With its
# window inactive (no window manager) it waits instead of spinning.
# Arguments: the demo, the program that prints the video mode.
set -u
demo=$(realpath "$1")
video_mode=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
source "$here/xvfb.sh"
export SDL_AUDIODRIVER=dummy DBUS_SESSION_BUS_ADDRESS=disabled:

out=$(mktemp -d)
cleanup() {
    [ -n "${xorg_pid:-}" ] && kill "$xorg_pid" 2>/dev/null
    stop_xvfb
    rm -rf "$out"
}
trap cleanup EXIT
cd "$(dirname "$demo")"

XVFB_SIZE=1920x1080 start_xvfb_with_wm
trap cleanup EXIT # start_xvfb sets its own
for method in "" --desktop --window --fullscreen; do
    name=${method:-"no option"}
    "$demo" $method --start 52 2>"$out/err" &
    pid=$!
    win=$(demo_window 50)
    sleep 2
    import -window root "$out/shot.png"
    [ -n "${KIRUPO_KEEP_FRAMES:-}" ] && cp "$out/shot.png" "$KIRUPO_KEEP_FRAMES/screen-${name// /-}.png"
    stop_demo $pid TERM
    check "$name: the window appears and SIGTERM ends it with 143 (got $rc)" "[ -n \"$win\" ] && [ $rc -eq 143 ]"
    check_centred_on_1920x1080 "$name" "$out/shot.png"
    if [ "$method" = --fullscreen ]; then
        check "--fullscreen without a 640x480 mode says so in one line: $(cat "$out/err")" \
            "[ \$(wc -l <\"$out/err\") -eq 1 ] && grep -q 640x480 \"$out/err\""
    fi
done
stop_xvfb
unset XVFB_PID WM_PID

# No window manager: an ordinary window never becomes active. The loop waits
# on the window's events, at most a tenth of a core, and a signal still ends it.
start_xvfb
trap cleanup EXIT
"$demo" --window &
pid=$!
demo_window 50 >/dev/null
sleep 1
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
before=$(ticks $pid)
sleep 3
used=$(($(ticks $pid) - before))
echo "CPU with the window inactive: $used ticks in 3 s (a spinning loop takes about 300)"
check "with its window inactive the demo waits (CPU $used ticks in 3 s, at most 30)" "[ $used -le 30 ]"
stop_demo $pid INT
check "an inactive demo ends on SIGINT with 130 (got $rc)" "[ $rc -eq 130 ]"
stop_xvfb
unset XVFB_PID

# Xorg with the dummy driver: a real video mode switch.
n=$(free_display)
cat >"$out/xorg.conf" <<'CONF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
    Modeline "640x480" 25.18 640 656 752 800 480 490 492 525 -hsync -vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1920x1080" "640x480"
        Virtual 1920 1080
    EndSubSection
EndSection
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
CONF
Xorg ":$n" -config "$out/xorg.conf" -configdir "$out/none" -noreset -nolisten tcp -logfile "$out/xorg.log" \
    >/dev/null 2>&1 &
xorg_pid=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
export DISPLAY=":$n"
check "Xorg with the dummy driver starts at 1920x1080 ($("$video_mode"))" "[ \"\$(\"$video_mode\")\" = 1920x1080 ]"
for signal in TERM INT HUP; do
    "$demo" 2>"$out/err" &
    pid=$!
    mode=
    for _ in $(seq 50); do
        mode=$("$video_mode")
        [ "$mode" = 640x480 ] && break
        sleep 0.1
    done
    sleep 1
    stop_demo $pid $signal
    after=$("$video_mode")
    expected=$((128 + $(kill -l $signal)))
    check "SIG$signal: 640x480 while the demo ran ($mode), $expected on SIG$signal (got $rc), 1920x1080 after ($after)" \
        "[ \"$mode\" = 640x480 ] && [ $rc -eq $expected ] && [ \"$after\" = 1920x1080 ]"
done

exit $fail
