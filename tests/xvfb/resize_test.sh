#!/usr/bin/env bash
# The window at any size, framed by a window manager (Openbox) on a 1920 by 1440 screen and
# driven like a player with xdotool and wmctrl.
#   resize_test.sh GAME REPLAY PICTURE_COMPARE SCENARIO
# scaled:     the first window is the game's at twice its size. At three times its size, full
#             screen (F11) and at an odd size, the client shows the recording so far as
#             vorbix-replay draws it at the zoom that fits, centred on black, and the 1x picture
#             scaled (scaled_picture.py). Clicks reach Pause and Game Over where they are drawn
#             and nowhere else; keys reach the game in full screen and after Escape leaves it.
# remembered: closed by the window manager at a size and place, maximised, or full screen over
#             maximised, the window opens again as it was left; a place on no screen is not used.
# recorded:   a game resized, maximised and made full screen during the curtain, in play,
#             paused and across a restart, replayed from its recording, ends with the labels and
#             the picture the window showed, its window fields the game's own.
# A failure keeps the last screenshot as xvfb-SCENARIO-failure.png in the working folder.
set -u

readonly game=$1 replay=$2 picture_compare=$3 scenario=$4
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
require_tool python3 python3
# shellcheck source=../support/zoom.sh
source "$(dirname "$0")/../support/zoom.sh"

readonly own_width=420 own_height=428
readonly screen_width=1920 screen_height=1440
readonly yellow="#FFFF00"
recording=$work/game.txt
window=""

# The client area as X has it now, for wait_for_size.
measure_client() { locate_client "$window"; }

# Plays to Game Over and clicks it where it is drawn: the question comes again, answered Yes.
restart_by_game_over() {
    play_to_game_over
    click_at "$game_over_x" "$game_over_y"
    find_window Difficulty >/dev/null || fail "a click on the drawn \"Game Over\" did not ask the question again"
    answer_question Return
    window=$(find_window Vorbix) || fail "no \"Vorbix\" window after the restart"
}

# Waits up to 10 s for the window manager to show the window maximised (filling the screen's
# width below its title bar), or no longer maximised; then places the game in it.
wait_for_maximised() { # yes or no, what
    local state
    for _ in $(seq 200); do
        state=$(xprop -id "$window" _NET_WM_STATE)
        locate_client "$window"
        if [[ "$1" == yes && "$state" == *MAXIMIZED_HORZ* && "$client_width" == "$screen_width" &&
            "$client_height" -lt "$screen_height" ]] ||
            [[ "$1" == no && "$state" != *MAXIMIZED* && "$client_width" -lt "$screen_width" ]]; then
            place_game
            return 0
        fi
        sleep 0.05
    done
    fail "$2: the window is ${client_width}x$client_height, its state $state"
}

resize_to() { # width, height
    xdotool windowsize "$window" "$1" "$2"
    wait_for_size "$1" "$2" "the window resized to $1x$2"
}

maximise() {
    wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
    wait_for_maximised yes "maximised"
}

unmaximise() {
    wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
    wait_for_maximised no "no longer maximised"
}

colour_at() { # x, y at 1x
    local x y
    read -r x y < <(spot "$1" "$2")
    pixel "$x" "$y"
}

# Clicks a spot of the game's window at 1x where the zoom draws it; the pointer then leaves the
# game, so that no button shows it hovering.
click_at() { # x, y at 1x
    local x y
    read -r x y < <(spot "$1" "$2")
    xdotool mousemove $((client_x + x)) $((client_y + y)) click 1
    xdotool mousemove 0 0
}

# The library's checks, at the zoom.
pause_shown() { is_button_face "$(colour_at "$pause_x" "$pause_y")"; }
pause_hidden() { ! pause_shown; }
game_over_shown() { is_button_face "$(colour_at "$game_over_x" "$game_over_y")"; }
curtain_open() { [[ "$(colour_at 410 20)" == "$yellow" && "$(colour_at 410 415)" == "$yellow" ]]; }


pause() {
    press p
    until_shown "P did not pause the game" pause_shown
}

# Only a click on the drawn Pause button lets a paused game go on.
go_on() {
    click_at "$pause_x" "$pause_y"
    until_shown "a click on the drawn Pause did not let the game go on" pause_hidden
}

# The recording so far, with a dump at its end, replayed into pictures in a folder of their
# own; more options for vorbix-replay may follow.
replay_so_far() { # folder, option...
    local folder=$1
    shift
    rm -rf "$folder"
    { cat "$recording"; echo dump; } | "$replay" --png "$folder" "$@" >"$folder.json" 2>"$work/replay.log" ||
        fail "vorbix-replay refused the recording: $(cat "$work/replay.log")"
}

# The client area in the last screenshot shows the recording so far as vorbix-replay draws it
# at the zoom, centred, with the margin black; and the picture at 1x scaled. The game's window
# may still be repainting after a resize: screenshots are taken until it matches, for a while.
expect_scaled_picture() { # what
    local what=$1 matched=no
    replay_so_far "$work/at-zoom" --scale "$zoom"
    replay_so_far "$work/at-one"
    for _ in $(seq 10); do
        convert "$shot" -crop "${game_width}x$game_height+$((client_x + game_left))+$((client_y + game_top))" \
            +repage "$work/game.png"
        if "$picture_compare" "$work/game.png" "$work/at-zoom/dump-0001.png" "$work/diff.png" \
            >"$work/compare.log" 2>&1; then
            matched=yes
            break
        fi
        sleep 0.2
        screenshot
    done
    if [[ "$matched" == no ]]; then
        cp "$work/game.png" "xvfb-$scenario-actual.png"
        cp "$work/at-zoom/dump-0001.png" "xvfb-$scenario-expected.png"
        fail "$what: the window at zoom $zoom is not vorbix-replay's picture at --scale $zoom: $(cat "$work/compare.log")"
    fi
    local margin
    margin=$(convert "$shot" -crop "${client_width}x$client_height+$client_x+$client_y" +repage +antialias \
        -fill black -draw "rectangle $game_left,$game_top $((game_left + game_width - 1)),$((game_top + game_height - 1))" \
        -format %c histogram:info:-)
    [[ "$(wc -l <<<"$margin")" == 1 && "$margin" == *"#000000"* ]] || fail "$what: the margin is not black: $margin"
    python3 "$(dirname "$0")/scaled_picture.py" "$work/at-one/dump-0001.png" "$work/game.png" "$zoom" \
        >"$work/scaled.log" 2>&1 || { cp "$work/game.png" "xvfb-$scenario-actual.png"
        fail "$what: not the 1x picture scaled by $zoom: $(cat "$work/scaled.log")"; }
    echo "$what: ${client_width}x$client_height, zoom $zoom, the game at $game_left,$game_top"
}

# Starts the game, answers its question and finds its window.
start_and_answer() { # option...
    start_game "$@"
    answer_question Escape
    window=$(find_window Vorbix) || fail "no \"Vorbix\" window after the answer"
}

scenario_scaled() {
    xdotool mousemove 0 0
    start_and_answer --record "$recording"
    # The first start, on a screen 1440 pixels high: the largest half step of the game's size
    # that takes at most two thirds of its height.
    wait_for_size $((2 * own_width)) $((2 * own_height)) "the first window"
    resize_to $((3 * own_width)) $((3 * own_height))
    until_shown "the curtain did not open" curtain_open
    pause
    expect_scaled_picture "three times the game's window"

    # Where Pause stands at 1x is the well's top left corner at three times: a click there does
    # not reach the button. (P, which the game takes but ignores while paused, marks the end.)
    local events
    events=$(wc -l <"$recording")
    xdotool mousemove $((client_x + pause_x)) $((client_y + pause_y)) click 1
    xdotool mousemove 0 0
    press p
    for _ in $(seq 100); do
        sed -n "$((events + 1)),\$p" "$recording" | grep -q '^key 80$' && break
        sleep 0.1
    done
    [[ "$(sed -n "$((events + 1)),\$p" "$recording" | grep -v '^# @')" == "key 80" ]] ||
        fail "after a click off the drawn Pause and P the game took $(sed -n "$((events + 1)),\$p" "$recording")"
    go_on

    restart_by_game_over
    wait_for_size $((3 * own_width)) $((3 * own_height)) "the window after the restart"
    until_shown "the curtain did not open after the restart" curtain_open

    # F11 fills the screen; the keys still go to the game, there and after Escape.
    press F11
    wait_for_size "$screen_width" "$screen_height" "the window in full screen"
    pause
    expect_scaled_picture "full screen"
    go_on
    press Escape
    wait_for_size $((3 * own_width)) $((3 * own_height)) "the window after Escape"
    resize_to 1001 517
    pause
    expect_scaled_picture "an odd size"
    close_game_and_expect_success
    expect_no_sanitizer_report
}

expect_place() { # x, y, what
    [[ "$client_x $client_y" == "$1 $2" ]] || fail "$3 stands at $client_x,$client_y, not $1,$2"
}

scenario_remembered() {
    start_and_answer
    wait_for_size $((2 * own_width)) $((2 * own_height)) "the first window"
    resize_to 1001 517
    local first_x=$client_x
    wmctrl -i -r "$window" -e 0,200,150,-1,-1
    for _ in $(seq 200); do
        locate_client "$window"
        [[ "$client_x" != "$first_x" ]] && break
        sleep 0.05
    done
    local left=$client_x top=$client_y
    close_game_and_expect_success

    start_and_answer
    wait_for_size 1001 517 "the window started again"
    expect_place "$left" "$top" "the window started again"
    press F11
    wait_for_size "$screen_width" "$screen_height" "the window in full screen"
    close_game_and_expect_success

    start_and_answer
    wait_for_size "$screen_width" "$screen_height" "the window left full screen, started again"
    press Escape
    wait_for_size 1001 517 "the window left full screen, started again, after Escape"
    expect_place "$left" "$top" "the window left full screen, started again, after Escape"
    maximise
    close_game_and_expect_success

    start_and_answer
    wait_for_maximised yes "the window left maximised, started again"
    unmaximise
    wait_for_size 1001 517 "the window left maximised, started again and restored"
    expect_place "$left" "$top" "the window left maximised, started again and restored"
    # Full screen over a maximised window: the window manager no longer calls it maximised, but
    # Escape brings it back maximised, then and after a restart.
    maximise
    press F11
    wait_for_size "$screen_width" "$screen_height" "the maximised window in full screen"
    press Escape
    wait_for_maximised yes "the window in full screen over maximised, after Escape"
    unmaximise
    wait_for_size 1001 517 "the window in full screen over maximised, after Escape, restored"
    maximise
    press F11
    wait_for_size "$screen_width" "$screen_height" "the maximised window in full screen"
    close_game_and_expect_success

    start_and_answer
    wait_for_size "$screen_width" "$screen_height" "the window left full screen over maximised, started again"
    press Escape
    wait_for_maximised yes "the window left full screen over maximised, started again, after Escape"
    # Through all of it the window kept the size and place it goes back to.
    unmaximise
    wait_for_size 1001 517 "the window left full screen over maximised and restored"
    expect_place "$left" "$top" "the window left full screen over maximised and restored"
    close_game_and_expect_success

    # A place on no screen (a screen unplugged since): the window keeps its size, on the screen.
    printf '[window]\nsize=@Size(1001 517)\nposition=@Point(5000 4000)\n' >"$XDG_CONFIG_HOME/vorbix/vorbix.conf"
    start_and_answer
    wait_for_size 1001 517 "the window kept off every screen"
    ((client_x >= 0 && client_y >= 0 && client_x + 1001 <= screen_width && client_y + 517 <= screen_height)) ||
        fail "the window kept off every screen opens at $client_x,$client_y"
    close_game_and_expect_success
    expect_no_sanitizer_report
}

scenario_recorded() {
    start_and_answer --record "$recording"
    wait_for_size $((2 * own_width)) $((2 * own_height)) "the first window"
    # During the curtain.
    resize_to 1001 517
    maximise
    press F11
    wait_for_size "$screen_width" "$screen_height" "the window in full screen"
    press Escape
    wait_for_maximised yes "maximised again after Escape"
    unmaximise
    until_shown "the curtain did not open" curtain_open
    # In play, and paused.
    for key in Left a Right; do press "$key"; sleep 0.15; done
    resize_to $((3 * own_width)) $((3 * own_height))
    for key in Down Left s; do press "$key"; sleep 0.15; done
    wmctrl -i -r "$window" -b add,fullscreen
    wait_for_size "$screen_width" "$screen_height" "the window made full screen by the window manager"
    pause
    press Escape
    wait_for_size $((3 * own_width)) $((3 * own_height)) "the window after Escape"
    maximise
    unmaximise
    resize_to 700 900
    go_on
    restart_by_game_over
    # The new game's curtain opens in a maximised window, then full screen.
    wait_for_size 700 900 "the window after the restart"
    maximise
    press F11
    wait_for_size "$screen_width" "$screen_height" "the window in full screen after the restart"
    until_shown "the curtain did not open after the restart" curtain_open
    for key in Down Left a Down; do press "$key"; sleep 0.3; done
    pause
    expect_scaled_picture "the restarted game in full screen"
    close_game_and_expect_success
    expect_no_sanitizer_report

    # Replayed headless, the recording ends with the labels the window showed, in the game's
    # own window.
    labels=$(sed -n 's/^# @[0-9]* the recording ends: //p' "$recording")
    [[ -n "$labels" ]] || fail "the recording does not say how it ended"
    { cat "$recording"; echo dump; } | "$replay" >"$work/dump.json" 2>"$work/replay.log" ||
        fail "vorbix-replay refused the recording: $(cat "$work/replay.log")"
    python3 - "$work/dump.json" "$labels" <<'PY' || fail "the replayed game is not the one the window showed"
import json, sys
dump = json.load(open(sys.argv[1]))
labels = ", ".join(label["text"] for label in dump["labels"].values())
window = {name: dump["window"][name] for name in ("client_width", "client_height", "outer_width", "outer_height")}
own = {"client_width": 6304, "client_height": 6424, "outer_width": 6424, "outer_height": 6874}
print(f"replayed: {labels}; {window}; cellsize {dump['state']['cellsize']}")
if labels != sys.argv[2]:
    sys.exit(f"the replay ends with the labels {labels}, the window showed {sys.argv[2]}")
if window != own or dump["state"]["cellsize"] != 292:
    sys.exit("the game's window is not its own")
PY
    [[ "$labels" == *"Blocks:"* ]] || fail "the window showed no Blocks label: $labels"
}

start_display "${screen_width}x$screen_height"
start_window_manager
case "$scenario" in
scaled) scenario_scaled ;;
remembered) scenario_remembered ;;
recorded) scenario_recorded ;;
*) fail "unknown scenario" ;;
esac
echo "passed: $scenario"
