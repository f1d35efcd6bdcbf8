# shellcheck shell=bash
# Sourced by the real-window tests' libraries, which give press, screenshot,
# game_over_shown and fail for their window system: drops every piece fast with Down until
# "Game Over" shows; the pieces pile up in the middle of the well.
play_to_game_over() {
    for _ in $(seq 60); do
        for _ in $(seq 5); do
            press Down
            sleep 0.1
        done
        screenshot
        game_over_shown && return 0
    done
    fail "no \"Game Over\" button after 60 rounds of dropping"
}
