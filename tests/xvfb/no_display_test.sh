#!/usr/bin/env bash
# The command line with no display at all: help and version answer with status 0, an unknown
# option is one line on standard error and status 2, and the game itself says in one line
# that it needs a display and exits with status 1, also when Qt is asked for a platform
# whose display is not there (Qt itself would abort).
#   no_display_test.sh GAME REPLAY
set -u
readonly game=$1 replay=$2
failed=0
check() { # expected status, stdout pattern ("" for none), expected stderr, command...
    local status=$1 out_pattern=$2 err=$3
    shift 3
    local out_file err_file
    out_file=$(mktemp) err_file=$(mktemp)
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >"$out_file" 2>"$err_file"
    local got=$?
    local out_ok=1
    if [[ -z "$out_pattern" ]]; then [[ -s "$out_file" ]] && out_ok=0; else grep -Eq "$out_pattern" "$out_file" || out_ok=0; fi
    if ((got != status || !out_ok)) || [[ "$(cat "$err_file")" != "$err" ]]; then
        echo "FAIL: $*: status $got (expected $status), stdout: $(head -c 300 "$out_file"), stderr: $(cat "$err_file")" >&2
        failed=1
    fi
    rm -f "$out_file" "$err_file"
}
check 0 '^Usage: vorbix \[options\]' "" "$game" --help
check 0 '^vorbix [0-9]+\.[0-9]+\.[0-9]+$' "" "$game" --version
check 2 '' "vorbix: Unknown option 'no-such-option'." "$game" --no-such-option
no_display="vorbix: no display found; set DISPLAY (X) or WAYLAND_DISPLAY (Wayland) to run the game"
empty_runtime=$(mktemp -d)
check 1 '' "$no_display" env XDG_RUNTIME_DIR="$empty_runtime" "$game"
check 1 '' "$no_display" env XDG_RUNTIME_DIR="$empty_runtime" QT_QPA_PLATFORM=wayland "$game"
check 1 '' "$no_display" env XDG_RUNTIME_DIR="$empty_runtime" QT_QPA_PLATFORM="wayland;xcb" "$game"
rmdir "$empty_runtime"
check 0 '^Usage: vorbix-replay \[options\] \[SCRIPT\]' "" "$replay" --help
check 0 '^vorbix-replay [0-9]+\.[0-9]+\.[0-9]+$' "" "$replay" --version
check 2 '' "vorbix-replay: unknown option '--no-such-option' (see vorbix-replay --help)" "$replay" --no-such-option
((failed == 0)) && echo "passed"
exit "$failed"
