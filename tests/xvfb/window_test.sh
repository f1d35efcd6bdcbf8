#!/usr/bin/env bash
# The game in a real X window under Xvfb, driven like a player with xdotool.
#   window_test.sh GAME WM_CLOSE SCENARIO
# picture:        answer Yes; check the window's size and place and, once the curtain has
#                 opened, its colours; close it.
# close-question: close the question box (it answers No); close the game during the intro.
# restart:        answer No; pause and resume; drop pieces until "Game Over"; click it, answer
#                 the question again; pause the new game and close it.
# Exits 77 (skipped) when Xvfb or the X tools are missing. A failure keeps the last
# screenshot as xvfb-SCENARIO-failure.png in the working folder.
set -u

readonly skip_status=77
readonly game=$1 wm_close=$2 scenario=$3

for tool in Xvfb xdotool xwininfo import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit "$skip_status"
    fi
done

work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
shot="$work/screen.png"
xvfb_pid=""
game_pid=""

cleanup() {
    if [[ -n "$game_pid" ]] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid"; fi
    if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL ($scenario): $*" >&2
    [[ -f "$shot" ]] && cp "$shot" "xvfb-$scenario-failure.png"
    [[ -f "$work/game.log" ]] && sed 's/^/game: /' "$work/game.log" >&2
    exit 1
}

start_display() {
    # Xvfb picks a free display number itself and writes it to descriptor 3.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [[ -s "$work/display" ]]; then
            export DISPLAY=":$(head -n1 "$work/display")"
            return
        fi
        sleep 0.05
    done
    fail "Xvfb did not start: $(cat "$work/xvfb.log")"
}

start_game() {
    "$game" >"$work/game.log" 2>&1 &
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

close_game_and_expect_success() {
    local window
    window=$(find_window Vorbix) || fail "no game window to close"
    "$wm_close" "$window" || fail "could not send the close message"
    for _ in $(seq 100); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$game_pid" 2>/dev/null && fail "the game still runs 5 s after its window was closed"
    wait "$game_pid"
    local status=$?
    game_pid=""
    ((status == 0)) || fail "the game exited with status $status"
}

# At 96 dots per inch, 15 twips to a pixel: the client area is 6304 by 6424 twips.
readonly expected_width=420 expected_height=428
readonly yellow="#FFFF00" red="#FF0000"

scenario_picture() {
    start_game
    answer_question Return
    local window
    window=$(find_window Vorbix) || fail "no \"Vorbix\" window after the answer"
    locate_client "$window"
    expect_within "$client_width" "$expected_width" 1 "client width"
    expect_within "$client_height" "$expected_height" 1 "client height"
    # Centred on the 1024 by 768 screen (no window manager, so no frame).
    expect_within "$client_x" $(((1024 - expected_width) / 2)) 3 "window left edge"
    expect_within "$client_y" $(((768 - expected_height) / 2)) 3 "window top edge"

    # The curtain opens over about 3 s.
    sleep 3.5
    screenshot
    expect_pixel 410 20 "$yellow" "background right of the side panel"
    expect_pixel 410 300 "$yellow" "background right of the counters"
    expect_pixel 330 85 "$red" "\"Next Piece:\" label"
    expect_pixel 376 12 "$red" "\"Next Piece:\" label"
    # The well's bottom left wall cell: red with a black hatch.
    local colours
    colours=$(convert "$shot" -crop "16x14+$((client_x + 6))+$((client_y + 414))" -depth 8 -unique-colors txt:-)
    grep -q "#FF0000" <<<"$colours" || fail "no red in the wall cell"
    grep -q "#000000" <<<"$colours" || fail "no black hatch in the wall cell"
    close_game_and_expect_success
}

scenario_close_question() {
    start_game
    local box
    box=$(find_window Difficulty) || fail "no \"Difficulty\" question"
    "$wm_close" "$box"
    window_gone Difficulty || fail "the question did not close"
    find_window Vorbix >/dev/null || fail "closing the question did not answer it"
    sleep 0.5
    close_game_and_expect_success
}

scenario_restart() {
    start_game
    answer_question Escape
    local window
    window=$(find_window Vorbix) || fail "no \"Vorbix\" window after the answer"
    locate_client "$window"
    sleep 3.5

    press p
    sleep 0.3
    screenshot
    is_button_face "$(pixel 110 100)" || fail "P did not show the Pause button"
    xdotool mousemove $((client_x + 110)) $((client_y + 100)) click 1
    sleep 0.3
    screenshot
    is_button_face "$(pixel 110 100)" && fail "a click on Pause did not hide it"

    # Drop every piece fast; they pile up in the middle until the game is over. The left
    # part of the "Game Over" button lies inside the well.
    local over=""
    for round in $(seq 60); do
        for _ in $(seq 5); do
            press Down
            sleep 0.1
        done
        screenshot
        if is_button_face "$(pixel 128 150)"; then
            over=$round
            break
        fi
    done
    [[ -n "$over" ]] || fail "no \"Game Over\" button after 60 rounds of dropping"

    xdotool mousemove $((client_x + 128)) $((client_y + 150)) click 1
    find_window Difficulty >/dev/null || fail "\"Game Over\" did not ask the question again"
    [[ -z "$(xdotool search --onlyvisible --name '^Vorbix$' 2>/dev/null)" ]] ||
        fail "the old window stays on the screen during the question"
    answer_question Return
    window=$(find_window Vorbix) || fail "no \"Vorbix\" window after the restart"
    locate_client "$window"
    expect_within "$client_width" "$expected_width" 1 "client width after the restart"
    sleep 3.5
    screenshot
    is_button_face "$(pixel 128 150)" && fail "the new game still shows \"Game Over\""
    expect_pixel 330 85 "$red" "\"Next Piece:\" label after the restart"

    # Closing a paused game ends it too.
    press p
    sleep 0.2
    close_game_and_expect_success
}

start_display
case "$scenario" in
picture) scenario_picture ;;
close-question) scenario_close_question ;;
restart) scenario_restart ;;
*) fail "unknown scenario" ;;
esac
echo "passed: $scenario"
