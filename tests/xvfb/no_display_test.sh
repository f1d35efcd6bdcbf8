#!/usr/bin/env bash
# Without any display the game says so in one line and exits with status 1.
#   no_display_test.sh GAME
set -u
output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1)
status=$?
if ((status != 1)); then
    echo "FAIL: exit status $status, expected 1" >&2
    exit 1
fi
if [[ "$output" != "vorbix: no display found; set DISPLAY to run the game" ]]; then
    echo "FAIL: unexpected output: $output" >&2
    exit 1
fi
echo "passed"
