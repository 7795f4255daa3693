#!/usr/bin/env bash
# Runs a command with a private Xvfb display (DISPLAY exported), then stops the display.
# Message boxes and dialogs need a display even in silent runs; tests that take screenshots or
# send keys each run on their own, so that no other test's window covers theirs or takes their
# keys. Xvfb picks a free display number itself (-displayfd), so parallel starts cannot collide.
set -uo pipefail
numbers=$(mktemp)
trap 'rm -f "$numbers"' EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numbers" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null; rm -f "$numbers"' EXIT
number=""
for _ in $(seq 1 200); do
    number=$(tr -dc '0-9' <"$numbers")
    [ -n "$number" ] && [ -e "/tmp/.X11-unix/X$number" ] && break
    kill -0 $xvfb_pid 2>/dev/null || { echo "with-display: Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
[ -n "$number" ] || { echo "with-display: Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$number"
"$@"
