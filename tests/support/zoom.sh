# shellcheck shell=bash
# Sourced by the real-window tests: where the player's window draws the game's window, at the
# zoom that fits its client area (never below 1), centred. The including test sets
# own_width and own_height, the game's window at 1x, and client_width and client_height.
# shellcheck disable=SC2034,SC2154

# Sets zoom, and the game's window drawn at it: game_width, game_height, and its place in the
# client area, game_left and game_top. The zoom is printed exactly, for vorbix-replay --scale.
place_game() {
    read -r zoom game_width game_height game_left game_top < <(awk -v w="$client_width" -v h="$client_height" \
        -v ow="$own_width" -v oh="$own_height" 'BEGIN {
            z = w / ow < h / oh ? w / ow : h / oh
            if (z < 1) z = 1
            gw = int(ow * z + 0.5); gh = int(oh * z + 0.5)
            printf "%.17g %d %d %d %d\n", z, gw, gh, int((w - gw) / 2), int((h - gh) / 2) }')
}

# Waits up to 10 s for the client area to take this size, then places the game in it. The
# including test's measure_client sets client_width and client_height afresh.
wait_for_size() { # width, height, what
    for _ in $(seq 200); do
        measure_client
        if [[ "$client_width" == "$1" && "$client_height" == "$2" ]]; then
            place_game
            return 0
        fi
        sleep 0.05
    done
    fail "$3 is ${client_width}x$client_height, not $1x$2"
}

# Takes the including test's screenshots until the check holds, for about 10 s.
until_shown() { # what fails, check...
    local what=$1
    shift
    for _ in $(seq 40); do
        screenshot
        "$@" && return 0
        sleep 0.2
    done
    fail "$what"
}

# A spot of the game's window at 1x where the zoom draws it, in client pixels: "X Y".
spot() {
    awk -v x="$1" -v y="$2" -v z="$zoom" -v left="$game_left" -v top="$game_top" \
        'BEGIN { printf "%d %d\n", left + (x + 0.5) * z, top + (y + 0.5) * z }'
}
