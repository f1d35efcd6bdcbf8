#!/usr/bin/env bash
# The game in a real X window under Xvfb, driven like a player with xdotool.
#   window_test.sh GAME WM_CLOSE SCENARIO
# picture:        answer Yes; check the window's size and place and, once the curtain has
#                 opened, its colours; close it.
# close-question: close the question box (it answers No); close the game during the intro.
# restart:        answer No; pause and resume; drop pieces until "Game Over"; click it, answer
#                 the question again; pause the new game and close it.
# Skipped (or, under CI=true, failed) when Xvfb or the X tools are missing. A failure keeps the last
# screenshot as xvfb-SCENARIO-failure.png in the working folder.
set -u

readonly game=$1 wm_close=$2 scenario=$3
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

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
    pause_shown || fail "P did not show the Pause button"
    xdotool mousemove $((client_x + pause_x)) $((client_y + pause_y)) click 1
    sleep 0.3
    screenshot
    pause_shown && fail "a click on Pause did not hide it"

    # Drop every piece fast; they pile up in the middle until the game is over.
    play_to_game_over

    xdotool mousemove $((client_x + game_over_x)) $((client_y + game_over_y)) click 1
    find_window Difficulty >/dev/null || fail "\"Game Over\" did not ask the question again"
    [[ -z "$(xdotool search --onlyvisible --name '^Vorbix$' 2>/dev/null)" ]] ||
        fail "the old window stays on the screen during the question"
    answer_question Return
    window=$(find_window Vorbix) || fail "no \"Vorbix\" window after the restart"
    locate_client "$window"
    expect_within "$client_width" "$expected_width" 1 "client width after the restart"
    sleep 3.5
    screenshot
    game_over_shown && fail "the new game still shows \"Game Over\""
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
