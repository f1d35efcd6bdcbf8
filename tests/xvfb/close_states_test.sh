#!/usr/bin/env bash
# Closing the game's window as a window manager's close button does ends the program
# cleanly at any moment: with status 0, soon, and with no sanitizer report.
#   close_states_test.sh GAME WM_CLOSE STATE BOUND_MS
# question: close the question box (it answers No), then the game window at once.
# intro:    answer the question and close the window as soon as it shows, while the curtain
#           and the intro run.
# play:     close it while a piece falls.
# paused:   close it after P has shown the Pause button.
# gameover: drop pieces until "Game Over" shows, then close it.
# restart-question: click "Game Over", close the question that the restart asks (it answers
#           No), then close the new game's window at once.
# BOUND_MS is how soon after the close message the program must have ended.
# Skipped (or, under CI=true, failed) when Xvfb or the X tools are missing. A failure keeps the last
# screenshot as xvfb-close-STATE-failure.png in the working folder.
set -u

readonly game=$1 wm_close=$2 state=$3 bound_ms=$4
readonly scenario="close-$state"
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

require_tool compare imagemagick

# Starts the game, answers the question with No and sets window to the game window's id.
start_playing() {
    start_game
    answer_question Escape
    window=$(find_window Vorbix) || fail "no \"Vorbix\" window after the answer"
}

# Two screenshots a little apart differ: something moves on the screen.
expect_motion() {
    screenshot
    local before="$work/before.png"
    cp "$shot" "$before"
    sleep 0.5
    screenshot
    local changed
    changed=$(compare -metric AE "$before" "$shot" null: 2>&1)
    [[ "$changed" =~ ^[0-9]+$ ]] || fail "could not compare screenshots: $changed"
    ((changed > 0)) || fail "nothing moved on the screen in half a second ($1)"
}

window=""

close_in_state() {
    case "$state" in
    question)
        start_game
        local box
        box=$(find_window Difficulty) || fail "no \"Difficulty\" question"
        "$wm_close" "$box" || fail "could not send the close message to the question"
        window=$(find_window Vorbix) || fail "closing the question did not answer it"
        ;;
    intro)
        start_playing
        ;;
    play)
        start_playing
        locate_client "$window"
        # The curtain has opened and the intro has ended: pieces fall.
        sleep 3.5
        expect_motion "a falling piece"
        game_over_shown && fail "the game is over before it was played"
        ;;
    paused)
        start_playing
        locate_client "$window"
        sleep 3.5
        press p
        sleep 0.3
        screenshot
        pause_shown || fail "P did not show the Pause button"
        ;;
    gameover)
        start_playing
        locate_client "$window"
        sleep 3.5
        play_to_game_over
        ;;
    restart-question)
        start_playing
        locate_client "$window"
        sleep 3.5
        play_to_game_over
        xdotool mousemove $((client_x + game_over_x)) $((client_y + game_over_y)) click 1
        local box
        box=$(find_window Difficulty) || fail "\"Game Over\" did not ask the question again"
        "$wm_close" "$box" || fail "could not send the close message to the question"
        window=$(find_window Vorbix) || fail "closing the question did not answer it"
        ;;
    *) fail "unknown state" ;;
    esac
    close_window_and_expect_success "$window"
    expect_no_sanitizer_report
    echo "closed in $close_took_ms ms"
    ((close_took_ms <= bound_ms)) || fail "the game ended $close_took_ms ms after the close message, more than $bound_ms ms"
}

start_display
close_in_state
echo "passed: $scenario"
