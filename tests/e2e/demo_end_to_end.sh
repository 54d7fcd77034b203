#!/bin/bash
# The real demo under Xvfb with a window manager: the whole timeline ends with
# exit code 0 at about 70.7 s, Escape ends it early through the orderly
# shutdown with 0, and without a display it says so and exits 1.
set -u
demo=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$here/xvfb.sh"


# No display at all.
out=$(env -u DISPLAY "$demo" 2>&1 >/dev/null); rc=$?
check "no display exits 1 (got $rc)" "[ $rc -eq 1 ]"
check "no display explains itself on one line: $out" "[ \$(printf '%s\n' \"\$out\" | wc -l) -eq 1 ] && [[ \"\$out\" == *display* ]]"

start_xvfb_with_wm
cd "$(dirname "$demo")"

# Escape after two seconds: the orderly shutdown, exit 0.
SDL_AUDIODRIVER=dummy "$demo" & pid=$!
win=$(demo_window 50)
sleep 2
check "window titled KIRUPO appears" "[ -n \"$win\" ]"
[ -n "$win" ] && xdotool windowfocus --sync "$win" key Escape
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then kill -9 $pid; rc=999; else wait $pid; rc=$?; fi
check "Escape ends the demo with exit code 0 (got $rc)" "[ $rc -eq 0 ]"

# The whole timeline.
t0=$(date +%s.%N)
SDL_AUDIODRIVER=dummy timeout 120 "$demo"; rc=$?
elapsed=$(echo "$(date +%s.%N) - $t0" | bc)
echo "whole run took ${elapsed} s"
check "the whole timeline exits 0 (got $rc)" "[ $rc -eq 0 ]"
check "it ends at about 70.7 s (took $elapsed s)" "[ \$(echo \"$elapsed > 70.5 && $elapsed < 75\" | bc) -eq 1 ]"

exit $fail
