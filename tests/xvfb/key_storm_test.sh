#!/usr/bin/env bash
# Twenty thousand random key presses on the real window while the game runs: the six game
# keys and keys that act on nothing, many to an xdotool call. Between the batches a shown
# "Pause" is clicked so that play goes on, and "Game Over" is clicked and the question
# answered so that a new game starts. Afterwards the game must still answer a key at once,
# and close with status 0 and no sanitizer report.
#   key_storm_test.sh GAME WM_CLOSE
# VORBIX_STORM_SEED repeats the key sequence of an earlier run (each run prints its seed).
# Skipped (or, under CI=true, failed) when Xvfb or the X tools are missing. A failure keeps the last
# screenshot as xvfb-key-storm-failure.png in the working folder.
set -u

readonly game=$1 wm_close=$2
readonly scenario="key-storm"
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

readonly total_keys=20000 batch_keys=1000
readonly seed=${VORBIX_STORM_SEED:-$(($(date +%s) % 32768))}
RANDOM=$seed

# Moves, turns and Down, in either case and with modifiers, which change nothing. P is drawn
# on its own, rarely, since a paused game would take the rest of the batch without falling.
readonly game_keys=(Left Right Down a s A S shift+Down ctrl+a alt+Left shift+Right)
readonly pause_keys=(p P ctrl+p)
# Keys that act on nothing, modifiers and chords among them. The buttons take no focus, so
# Tab, space and Return must not reach them either.
readonly other_keys=(Up Escape Return space Tab ISO_Left_Tab BackSpace Delete Insert Home End Prior Next
    F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 0 1 5 9 b q w x z Shift_L Shift_R Control_L Alt_L Super_L
    Menu KP_Enter KP_5 KP_Add minus period slash alt+F4 ctrl+w ctrl+q shift+Tab super+Up)

# Adds one random key to the batch (no subshell: twenty thousand of them would take a minute).
add_random_key() {
    local draw=$((RANDOM % 1500))
    if ((draw < 1)); then
        keys+=("${pause_keys[RANDOM % ${#pause_keys[@]}]}")
    elif ((draw < 1050)); then
        keys+=("${game_keys[RANDOM % ${#game_keys[@]}]}")
    else
        keys+=("${other_keys[RANDOM % ${#other_keys[@]}]}")
    fi
}

expect_running() {
    kill -0 "$game_pid" 2>/dev/null || {
        wait "$game_pid"
        game_pid=""
        fail "the game ended during the storm with status $? after $1 keys"
    }
}

click_at() { xdotool mousemove $((client_x + $1)) $((client_y + $2)) click 1; }

start_display
start_game
answer_question Escape
window=$(find_window Vorbix) || fail "no \"Vorbix\" window after the answer"
locate_client "$window"
echo "seed $seed"

sent=0 pauses=0 restarts=0
while ((sent < total_keys)); do
    keys=()
    for ((i = 0; i < batch_keys; ++i)); do add_random_key; done
    xdotool key --delay 0 "${keys[@]}" || fail "xdotool could not send the keys"
    sent=$((sent + batch_keys))
    # Gravity has a few ticks between the batches.
    sleep 0.1
    expect_running "$sent"
    screenshot
    if game_over_shown; then
        click_at "$game_over_x" "$game_over_y"
        answer_question "$( ((RANDOM % 2)) && echo Return || echo Escape)"
        window=$(find_window Vorbix) || fail "no \"Vorbix\" window after a restart in the storm"
        locate_client "$window"
        restarts=$((restarts + 1))
    elif pause_shown; then
        click_at "$pause_x" "$pause_y"
        pauses=$((pauses + 1))
    fi
done
echo "sent $sent keys; resumed $pauses pauses; restarted $restarts games"

# The game still answers: once it has worked through every key sent, P shows the Pause
# button. (A game that hangs or lags behind its queue does not show it.)
sleep 0.3
screenshot
if pause_shown; then
    click_at "$pause_x" "$pause_y"
    sleep 0.3
    screenshot
    pause_shown && fail "a click on Pause did not hide it after the storm"
fi
press p
shown=""
for _ in $(seq 20); do
    sleep 0.25
    screenshot
    if pause_shown; then
        shown=yes
        break
    fi
done
[[ -n "$shown" ]] || fail "P did not show the Pause button within 5 s after the storm"
expect_running "$sent"

close_window_and_expect_success "$window"
expect_no_sanitizer_report
echo "closed in $close_took_ms ms"
echo "passed: $scenario"
