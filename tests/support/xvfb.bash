# shellcheck shell=bash
# An Xvfb server of a script's own, sourced by the real-window tests (tests/xvfb/lib.sh) and by
# bench/measure and bench/latency. start_xvfb SIZE DIR starts one with a screen of SIZE
# (WIDTHxHEIGHT) pixels, its log in DIR/xvfb.log, and exports its DISPLAY; stop_xvfb ends it.
# xvfb_pid is its process, "" when none.

xvfb_pid=""

start_xvfb() {
    local size=$1 dir=$2
    # Xvfb picks a free display number itself and writes it to descriptor 3.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -noreset -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [[ -s "$dir/display" ]]; then
            DISPLAY=":$(head -n1 "$dir/display")"
            export DISPLAY
            return 0
        fi
        sleep 0.05
    done
    echo "Xvfb did not start: $(cat "$dir/xvfb.log")" >&2
    return 1
}

stop_xvfb() {
    if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
    xvfb_pid=""
}
