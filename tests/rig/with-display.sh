#!/usr/bin/env bash
# Runs a command with a private Xvfb display (DISPLAY exported), then stops the display.
# Message boxes and dialogs need a display even in silent runs.
set -uo pipefail
display=""
for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "with-display: no free display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null' EXIT
for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.05
done
export DISPLAY=$display
"$@"
