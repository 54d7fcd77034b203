#!/bin/bash
# Installs the build into a temporary prefix and runs the installed programs
# from a directory that has nothing to do with them: kirupo-capture finds
# the data installed beside it and draws the very frame the build tree's
# program draws, and writes its relative output name into the working
# directory; kirupo finds its data too. The desktop entry and the icon are
# where menus look for them.
set -u
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$here/xvfb.sh"


tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAILED: cmake --install"; exit 1; }
check "kirupo and kirupo-capture are reachable from bin" "[ -x $prefix/bin/kirupo ] && [ -x $prefix/bin/kirupo-capture ]"

# The demo without a display: it complains of the display only, not of its data.
mkdir "$tmp/elsewhere" && cd "$tmp/elsewhere"
out=$(env -u DISPLAY "$prefix/bin/kirupo" 2>&1); rc=$?
check "kirupo runs from elsewhere and finds its data (exit $rc: $out)" \
    "[ $rc -eq 1 ] && [ \$(printf '%s\n' \"\$out\" | wc -l) -eq 1 ] && [[ \"\$out\" == *display* ]]"

start_xvfb
trap 'stop_xvfb; rm -rf "$tmp"' EXIT
out=$("$prefix/bin/kirupo-capture" frame 25 f.png --fps 4 2>&1); rc=$?
check "kirupo-capture frame exits 0 from elsewhere (got $rc: $out)" "[ $rc -eq 0 ]"
check "it says nothing of missing data: $out" "[[ \"\$out\" != *'no data directory'* ]]"
check "the relative output lands in the working directory" "[ -f f.png ] && [ ! -e $prefix/lib/kirupo/bin/f.png ]"
(cd "$build/bin" && ./kirupo-capture frame 25 "$tmp/reference.png" --fps 4 2>/dev/null)
differing=$(compare -metric AE f.png "$tmp/reference.png" null: 2>&1)
check "it is the frame the build tree draws ($differing pixels differ)" "[ \"$differing\" = 0 ]"
# The title over the coloured tiles, not the black of missing assets.
colours=$(convert f.png -format '%k' info:)
check "the frame is a real one ($colours colours)" "[ \"$colours\" -gt 10 ]"

entry=$prefix/share/applications/kirupo.desktop
check "the desktop entry starts kirupo with the kirupo icon" \
    "grep -qx 'Exec=kirupo' $entry && grep -qx 'Icon=kirupo' $entry"
if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$entry" 2>&1)
    check "the desktop entry is valid: $out" "[ -z \"\$out\" ]"
fi
for size in 16 32 48 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/kirupo.png
    check "the ${size}x${size} icon has its size" "[ \"\$(identify -format %wx%h $icon 2>&1)\" = ${size}x${size} ]"
done

exit $fail
