#!/bin/bash
# What a real machine can lack, and a stalled frame loop, for both programs:
# no display, a display that does not answer, a display without OpenGL (exit 1
# and one line naming the cause); no audio device (the demo runs silently and
# says so once); the demo stopped and continued, first into a later section,
# then past the end of the timeline, where it ends with 0; and the demo from
# a damaged copy of its data.
# Arguments: the demo, kirupo-capture (each with data/ beside its directory).
set -u
demo=$(realpath "$1")
capture=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
source "$here/../e2e/xvfb.sh"
export DBUS_SESSION_BUS_ADDRESS=disabled:

out=$(mktemp -d)
cleanup() {
    [ -n "${noglx_pid:-}" ] && kill "$noglx_pid" 2>/dev/null
    stop_xvfb
    rm -rf "$out"
}
trap cleanup EXIT

# Each program without a window: exit 1, one line on stderr, saying why.
no_window() { # case, words the line must hold, environment...
    local name=$1 words=$2
    shift 2
    local program rc line
    for program in "$demo" "$capture"; do
        local args=()
        [ "$program" = "$capture" ] && args=(frame 1 "$out/frame.png")
        env "$@" SDL_AUDIODRIVER=dummy timeout 60 "$program" "${args[@]}" >/dev/null 2>"$out/err"
        rc=$?
        line=$(cat "$out/err")
        check "$(basename "$program"), $name: exit 1 (got $rc)" "[ $rc -eq 1 ]"
        check "$(basename "$program"), $name: one line with \"$words\": $line" \
            "[ \$(wc -l <\"$out/err\") -eq 1 ] && grep -q \"$words\" \"$out/err\""
    done
    check "no frame written" "[ ! -e \"$out/frame.png\" ]"
}

no_window "no display" "DISPLAY is not set" -u DISPLAY
n=$(free_display)
no_window "a display nothing serves" "cannot connect to the X display :$n" DISPLAY=":$n"

n=$(free_display)
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset -extension GLX >/dev/null 2>&1 &
noglx_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
no_window "a display without OpenGL" "has no OpenGL" DISPLAY=":$n"
kill "$noglx_pid"
wait "$noglx_pid" 2>/dev/null
noglx_pid=

start_xvfb_with_wm

# No audio device: ALSA asked for one that does not exist. One line says so,
# and the capture tool, which plays no music, still draws.
SDL_AUDIODRIVER=alsa AUDIODEV=kirupo-no-such-device timeout 60 "$capture" frame 1 "$out/frame.png" \
    >/dev/null 2>"$out/err"
rc=$?
check "kirupo-capture without audio: exit 0 (got $rc) and a frame" "[ $rc -eq 0 ] && [ -s \"$out/frame.png\" ]"

# The demo itself from a damaged copy, with sound: every picture and model
# replaced by a piece of the soundtrack, the soundtrack's body by a piece of
# the program. It plays for a few seconds, Escape ends it with 0, and each
# file it left out is named.
damaged=$out/damaged
mkdir -p "$damaged/bin"
cp -r "$(dirname "$demo")/../data" "$damaged/data"
cp "$demo" "$damaged/bin/"
ogg=$damaged/data/stream/kiru.ogg
for file in "$damaged"/data/textures/*.png "$damaged"/data/models/*; do
    tail -c +9000 "$ogg" | head -c 3000 >"$file"
done
{ head -c 8192 "$ogg"; tail -c +4097 "$demo" | head -c 500000; } >"$out/kiru.ogg"
mv "$out/kiru.ogg" "$ogg"
SDL_AUDIODRIVER=dummy "$damaged/bin/kirupo" >/dev/null 2>"$out/damaged-err" &
pid=$!
win=$(demo_window)
sleep 3
[ -n "$win" ] && xdotool windowfocus --sync "$win" key Escape
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then kill -9 $pid; rc=999; else wait $pid; rc=$?; fi
check "the demo from a damaged copy plays and Escape ends it with 0 (got $rc)" "[ $rc -eq 0 ]"
check "it names the textures and models it left out ($(grep -c 'left out' "$out/damaged-err") lines)" \
    "[ \$(grep -c 'left out' \"$out/damaged-err\") -ge 20 ]"

# The demo, without audio, stopped twice: at about 3 s for 20 s (its clock
# jumps over the second section into the third), then for 50 s, past the end
# of the timeline: continued, it ends at once with 0.
SDL_AUDIODRIVER=alsa AUDIODEV=kirupo-no-such-device "$demo" >/dev/null 2>"$out/demo-err" &
pid=$!
win=$(demo_window)
check "the demo's window appears" "[ -n \"$win\" ]"
[ -n "$win" ] && xdotool windowfocus --sync "$win" 2>/dev/null
sleep 3
kill -STOP $pid
sleep 20
kill -CONT $pid
sleep 3
check "after a 20 s stall the demo still runs" "kill -0 $pid 2>/dev/null"
import -window root "$out/after-stall.png" 2>/dev/null && [ -n "${KIRUPO_KEEP_FRAMES:-}" ] &&
    cp "$out/after-stall.png" "$KIRUPO_KEEP_FRAMES/after-stall.png"
kill -STOP $pid
sleep 50
kill -CONT $pid
for _ in $(seq 200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then kill -9 $pid; rc=999; else wait $pid; rc=$?; fi
check "continued past the end of the timeline, it ends with 0 (got $rc)" "[ $rc -eq 0 ]"
check "without audio it says so on one line: $(cat "$out/demo-err")" \
    "[ \$(grep -c . \"$out/demo-err\") -eq 1 ] && grep -q 'no audio output' \"$out/demo-err\""

exit $fail
