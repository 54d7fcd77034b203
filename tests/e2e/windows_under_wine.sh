#!/bin/bash
# The Windows release under Wine (Xvfb, llvmpipe): unpacked from its zip, its
# programs find their DLLs and data; kirupo-capture.exe draws the very frames
# of the Linux build's kirupo-capture (one time in each section, and the
# effects the timeline never shows); kirupo.exe ends on Escape, on its own
# after --start 69, refuses a bad option with one line, and writes its mix to
# a file through SDL's disk audio driver.
#
# Usage: windows_under_wine.sh ZIP LINUX_KIRUPO_CAPTURE WINEPREFIX
set -u
zip=$(realpath "$1")
linux_capture=$(realpath "$2")
export WINEPREFIX=$(realpath "$3")
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
here=$(dirname "$(realpath "$0")")
source "$here/xvfb.sh"

wineserver -w
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; stop_xvfb; rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
release=$(echo "$work"/kirupo-*-win64)
bin=$release/bin
check "the zip holds bin/, data/, README.txt and LICENSE.txt" \
    "[ -f '$bin/kirupo.exe' ] && [ -f '$bin/kirupo-capture.exe' ] && [ -d '$release/data' ] && [ -f '$release/README.txt' ] && [ -f '$release/LICENSE.txt' ]"

# One line of output, whatever Windows' line ends.
lines() { printf '%s\n' "$1" | tr -d '\r' | grep -c .; }

# A bad option: exit 2, one line, before any window.
out=$(wine "$bin/kirupo.exe" --no-such-option 2>&1 >/dev/null); rc=$?
check "a bad option exits 2 (got $rc)" "[ $rc -eq 2 ]"
check "and says so in one line: $out" "[ \$(lines \"\$out\") -eq 1 ] && [[ \"\$out\" == *no-such-option* ]]"
help=$(wine "$bin/kirupo.exe" --help | tr -d '\r'); rc=$?
check "--help is the Linux build's help" "[ $rc -eq 0 ] && [[ \"\$help\" == Usage:\ kirupo* ]] && [[ \"\$help\" == *--loop* ]]"

# Frames, on a screen of the picture's size (a window on a bigger one is the
# same 640x480 client area, but Wine clamps a window on an exact-size screen).
# A wineserver stays bound to the display it started on: each display gets its own.
wineserver -w
XVFB_SIZE=1024x768 start_xvfb
frames="5.0 15.0 25.0 40.0 55.0 65.0"
compared=0 identical=0
for t in $frames effect:1200 effect:1300 effect:1600; do
    if [[ $t == effect:* ]]; then
        args=(frame 3.0 --effect "${t#effect:}")
    else
        args=(frame "$t")
    fi
    name=${t/:/-}
    "$linux_capture" "${args[@]:0:2}" "$work/linux-$name.png" "${args[@]:2}" >/dev/null 2>&1
    wine "$bin/kirupo-capture.exe" "${args[@]:0:2}" "$(winepath -w "$work/windows-$name.png" 2>/dev/null)" "${args[@]:2}" >/dev/null 2>&1
    wineserver -w
    if [ ! -f "$work/linux-$name.png" ] || [ ! -f "$work/windows-$name.png" ]; then
        check "frame $t is drawn by both builds" false
        continue
    fi
    compared=$((compared + 1))
    differing=$(compare -metric AE "$work/linux-$name.png" "$work/windows-$name.png" null: 2>&1)
    peak=$(compare -metric PAE "$work/linux-$name.png" "$work/windows-$name.png" null: 2>&1 | cut -d' ' -f1)
    echo "frame $t: $differing pixels differ, largest difference $peak"
    [ "$differing" = 0 ] && identical=$((identical + 1))
    # Windows' C library rounds a few of the demo's sines and cosines
    # differently: a handful of pixels may differ by a level or two (of 255;
    # ImageMagick counts 257 to a level), never a picture's worth.
    check "frame $t is the Linux build's frame but for rounding" \
        "[[ '$differing' =~ ^[0-9]+$ ]] && [ '$differing' -le 64 ] && [ '${peak%.*}' -le 1028 ]"
done
check "all frames compared ($compared)" "[ $compared -eq 9 ]"
wineserver -w
stop_xvfb

# The demo itself, in a window on a screen with a window manager.
XVFB_SIZE=1024x768 start_xvfb_with_wm
SDL_AUDIODRIVER=dummy wine "$bin/kirupo.exe" --window & pid=$!
win=$(demo_window 150)
check "the window titled KIRUPO appears" "[ -n \"$win\" ]"
sleep 2
[ -n "$win" ] && xdotool windowactivate --sync "$win" key Escape 2>/dev/null
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then kill -9 $pid; rc=999; else wait $pid; rc=$?; fi
check "Escape ends kirupo.exe --window with exit code 0 (got $rc)" "[ $rc -eq 0 ]"
wineserver -w

# Near the end: the last 1.7 s, then exit 0 on its own; the mix goes to a file.
mix=$work/mix.raw
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$(winepath -w "$mix" 2>/dev/null) timeout 60 wine "$bin/kirupo.exe" --window --start 69; rc=$?
check "--start 69 ends by itself with exit code 0 (got $rc)" "[ $rc -eq 0 ]"
size=$(stat -c %s "$mix" 2>/dev/null || echo 0)
# 1.7 s of 44.1 kHz 16-bit stereo is about 300 kB, after the silence the
# device plays while the demo loads.
check "the disk audio driver wrote the mix ($size bytes)" "[ $size -gt 100000 ]"
nonzero=$(od -An -v -tx1 "$mix" 2>/dev/null | tr ' ' '\n' | grep -vc '^00$\|^$')
check "and the mix is not silence ($nonzero non-zero bytes)" "[ $nonzero -gt 10000 ]"

# On a screen of the picture's own size: the automatic choice is the demo's
# own 640x480 fullscreen (no line about it), and --desktop works there too.
wineserver -w
stop_xvfb
XVFB_SIZE=640x480 start_xvfb
out=$(SDL_AUDIODRIVER=dummy timeout 60 wine "$bin/kirupo.exe" --start 69 2>&1); rc=$?
check "fullscreen on a 640x480 screen ends with exit code 0 (got $rc)" "[ $rc -eq 0 ]"
check "without a word about the display method: '$out'" "[ \$(lines \"\$out\") -eq 0 ]"
wineserver -w
SDL_AUDIODRIVER=dummy timeout 60 wine "$bin/kirupo.exe" --desktop --start 69 >/dev/null 2>&1; rc=$?
check "--desktop ends with exit code 0 (got $rc)" "[ $rc -eq 0 ]"

# Bad input behaves as on Linux: one line each, and the demo goes on to the end.
wineserver -w
out=$(SDL_AUDIODRIVER=no-such-driver timeout 60 wine "$bin/kirupo.exe" --start 69 2>&1 >/dev/null); rc=$?
check "no audio device: silent, exit 0 (got $rc), one line: $out" \
    "[ $rc -eq 0 ] && [ \$(lines \"\$out\") -eq 1 ] && [[ \"\$out\" == *silently* ]]"
wineserver -w
wineserver -w
mv "$release/data" "$release/moved-data"
out=$(SDL_AUDIODRIVER=dummy timeout 60 wine "$bin/kirupo.exe" --start 69 2>&1 >/dev/null); rc=$?
check "no data directory: exit 0 (got $rc), one line saying where it looked: $out" \
    "[ $rc -eq 0 ] && [ \$(lines \"\$out\") -eq 1 ] && [[ \"\$out\" == *data* ]]"

echo "frames identical: $identical of $compared"
exit $fail
