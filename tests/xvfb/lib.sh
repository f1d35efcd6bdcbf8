# Shared by the window tests: an Xvfb display, the game under it, finding its windows,
# keys, screenshots and closing the game as a window manager would. A test sets
#   game      the game program
#   wm_close  the program that sends a window manager's close message, where no window
#             manager runs
#   scenario  its name, used in messages and in the failure screenshot's name
# then sources this file and calls start_display, and start_window_manager when the test wants
# frames (without one the game's window stands bare where it puts itself). When Xvfb or the X
# tools are missing it skips the test (exit 77), or fails it under CI=true.
# shellcheck shell=bash
# The including test sets game, wm_close and scenario, and reads client_width, client_height
# and close_took_ms that are set here.
# shellcheck disable=SC2034,SC2154

# shellcheck source=../support/require.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/require.sh"
require_tool Xvfb xvfb
require_tool xdotool xdotool
require_tool xwininfo x11-utils
require_tool import imagemagick
require_tool convert imagemagick

work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The game keeps where its window was left in the player's settings: each test starts afresh.
export XDG_CONFIG_HOME="$work/config"
shot="$work/screen.png"
# shellcheck source=../support/xvfb.bash
source "$(dirname "${BASH_SOURCE[0]}")/../support/xvfb.bash"
wm_pid=""
game_pid=""

cleanup() {
    if [[ -n "$game_pid" ]] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid"; fi
    if [[ -n "$wm_pid" ]]; then kill "$wm_pid" 2>/dev/null; fi
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL ($scenario): $*" >&2
    [[ -f "$shot" ]] && cp "$shot" "xvfb-$scenario-failure.png"
    [[ -f "$work/game.log" ]] && sed 's/^/game: /' "$work/game.log" >&2
    exit 1
}

start_display() { # [WIDTHxHEIGHT], 1024x768 unless told
    start_xvfb "${1:-1024x768}" "$work" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
}

# Openbox with its own settings, as on a player's desktop: frames to resize, maximising, full
# screen, and closing a window by asking it to close. Returns once it manages the screen.
start_window_manager() {
    require_tool openbox openbox
    require_tool wmctrl wmctrl
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 200); do
        wmctrl -m >/dev/null 2>&1 && return
        sleep 0.05
    done
    fail "Openbox did not start: $(cat "$work/openbox.log")"
}

start_game() {
    "$game" "$@" >"$work/game.log" 2>&1 &
    game_pid=$!
}

# The id of the visible window with exactly this title, waiting up to 10 s for it.
# (xdotool search --sync polls only every half second.)
find_window() {
    local id
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
        if [[ -n "$id" ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.05
    done
    return 1
}

window_gone() {
    for _ in $(seq 40); do
        [[ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]] && return 0
        sleep 0.05
    done
    return 1
}

# Press and release as separate events: a single "xdotool key" can lose one of them.
press() {
    xdotool keydown "$1"
    sleep 0.05
    xdotool keyup "$1"
}

answer_question() {
    find_window Difficulty >/dev/null || fail "no \"Difficulty\" question"
    press "$1"
    window_gone Difficulty && return
    press "$1"
    window_gone Difficulty || fail "the question did not close on $1"
}

# The client area's top left corner on the screen.
locate_client() {
    local info
    info=$(xwininfo -id "$1")
    client_x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    client_y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    client_width=$(awk '/Width:/ {print $NF}' <<<"$info")
    client_height=$(awk '/Height:/ {print $NF}' <<<"$info")
}

screenshot() { import -window root "$shot" || fail "no screenshot"; }

# The colour of a client pixel in the last screenshot, as #RRGGBB.
pixel() {
    convert "$shot" -crop "1x1+$((client_x + $1))+$((client_y + $2))" -depth 8 txt:- |
        grep -o '#[0-9A-F]\{6\}' | head -n1
}

expect_pixel() {
    local found
    found=$(pixel "$1" "$2")
    [[ "$found" == "$3" ]] || fail "$4: pixel ($1, $2) is $found, expected $3"
}

# Light grey, as a push button's face is drawn: red, green and blue equal and above 200.
is_button_face() {
    local colour=$1
    local r=$((16#${colour:1:2})) g=$((16#${colour:3:2})) b=$((16#${colour:5:2}))
    ((r == g && g == b && r > 200))
}

expect_within() {
    local found=$1 expected=$2 slack=$3 what=$4
    ((found >= expected - slack && found <= expected + slack)) || fail "$what is $found, expected $expected ± $slack"
}

# Where the large "Pause" button and the left part of the "Game Over" button (inside the
# well, where the pieces pile up) show, in client pixels.
readonly pause_x=110 pause_y=100 game_over_x=128 game_over_y=150

pause_shown() { is_button_face "$(pixel "$pause_x" "$pause_y")"; }
game_over_shown() { is_button_face "$(pixel "$game_over_x" "$game_over_y")"; }

# The game window must have been located.
# shellcheck source=../support/play_to_game_over.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/play_to_game_over.sh"

# Closes the game window with a window manager's close message and expects the game to end
# with status 0 within 5 s. Sets close_took_ms, the time from the message to the end.
close_game_and_expect_success() {
    local window
    window=$(find_window Vorbix) || fail "no game window to close"
    close_window_and_expect_success "$window"
}

# Sends the window a window manager's close message (through the window manager when there is
# one) and waits up to 20 s for the game to end: a sanitized build looks for leaks on its
# way out, which takes seconds on a busy machine.
close_window_and_wait() {
    if [[ -n "$wm_pid" ]]; then
        wmctrl -i -c "$1" || fail "Openbox could not close the window"
    else
        "$wm_close" "$1" || fail "could not send the close message"
    fi
    for _ in $(seq 2000); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.01
    done
    kill -0 "$game_pid" 2>/dev/null && fail "the game still runs 20 s after its window was closed"
}

close_window_and_expect_success() {
    local window=$1 sent
    sent=$(date +%s%N)
    close_window_and_wait "$window"
    wait "$game_pid"
    local status=$?
    close_took_ms=$((($(date +%s%N) - sent) / 1000000))
    game_pid=""
    ((status == 0)) || fail "the game exited with status $status"
}

# The game's output holds no report of AddressSanitizer, LeakSanitizer or UBSan.
expect_no_sanitizer_report() {
    if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: [A-Za-z]+Sanitizer' "$work/game.log"; then
        fail "the sanitizers reported a fault"
    fi
}
