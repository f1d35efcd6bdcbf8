#!/usr/bin/env bash
# The game as a native Wayland client under a headless sway, driven like a player.
#   window_test.sh GAME REPLAY PICTURE_COMPARE SCENARIO
# play:   at scale 1, the question answered No by key; Left, A, Right and S move and turn the
#         piece; P pauses and a click on Pause goes on; the game is played to Game Over, a
#         click on it asks again, Yes starts a hard game, P pauses it; the window closed by
#         the compositor ends the game with status 0. The game recorded itself all along:
#         replayed, the recording holds every key as the game's code, each with its effect,
#         and draws offscreen the picture that grim took of the window.
# scale2: at output scale 2 the window keeps its size in logical pixels and is drawn with
#         twice the pixels, the same as the game draws at a device pixel ratio of 2 under
#         Xvfb (QT_SCALE_FACTOR=2) in the same state: as crisp as that, not scaled up.
# resize: the first window is the game's at one and a half times its size (the largest half
#         step within two thirds of the output's height); resized by sway to an odd size, and
#         made full screen, it shows where the game sits the recording so far as
#         vorbix-replay draws it at the zoom that fits, on black; clicks reach Pause where it
#         is drawn, and keys still reach the game.
# A failure keeps the last picture as wayland-SCENARIO-failure.png in the working folder.
set -u

readonly game=$1 replay=$2 picture_compare=$3 scenario=$4
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

readonly expected_width=420 expected_height=428
readonly own_width=$expected_width own_height=$expected_height
# shellcheck source=../support/zoom.sh
source "$(dirname "$0")/../support/zoom.sh"
recording=$(user_file game.txt)

expect_size() { # width, height, what
    [[ "$client_width" == "$1" && "$client_height" == "$2" ]] ||
        fail "$3 is ${client_width}x$client_height, expected $1x$2"
}

expect_same_picture() { # actual, expected, what
    "$picture_compare" "$1" "$2" "$work/diff.png" >"$work/compare.log" 2>&1 ||
        { cp "$1" "wayland-$scenario-actual.png"; cp "$2" "wayland-$scenario-expected.png"
          fail "$3: $(cat "$work/compare.log")"; }
    echo "$3: $(cat "$work/compare.log")"
}

# The game's keys in the recording, as their codes, in the order the game took them.
recorded_keys() { sed -n 's/^key \([0-9]*\)$/\1/p' "$recording" | tr '\n' ' '; }

# Each of the first four keys of the recording (Left, Right, A, S) changed the falling piece:
# the replay dumps the game just before and just after each of them. The turns come back in
# the middle of the well, where no wall can block them, and S turns back to where A began.
expect_keys_took_effect() {
    awk 'BEGIN { keys = 0 } /^key / && keys < 4 { print "dump"; print; print "dump"; keys++; next } { print }' \
        "$recording" | "$replay" >"$work/keys.json" 2>"$work/replay.log" ||
        fail "vorbix-replay refused the recording: $(cat "$work/replay.log")"
    python3 - "$work/keys.json" <<'PY' || fail "a key did not move or turn the piece"
import json, sys
dumps = [json.loads(line)["state"] for line in open(sys.argv[1])]
effects = [("Left", "col", -1), ("Right", "col", 1), ("A", "rotation", None), ("S", "rotation", None)]
failed = False
for (key, field, step), before, after in zip(effects, dumps[0::2], dumps[1::2]):
    moved = after[field] - before[field]
    if (step is None and moved == 0) or (step is not None and moved != step):
        print(f"{key}: {field} went from {before[field]} to {after[field]}")
        failed = True
    else:
        print(f"{key}: {field} {before[field]} -> {after[field]}")
sys.exit(1 if failed or len(dumps) != 8 else 0)
PY
}

scenario_play() {
    keep_window_size "$expected_width" "$expected_height"
    start_game --record "$recording"
    answer_question Escape
    find_window Vorbix || fail "no \"Vorbix\" window after the answer"
    expect_size "$expected_width" "$expected_height" "the window"
    # The curtain opens over about 3 s; the piece is then well inside the well.
    sleep 3.5
    for key in Left Right a s; do press "$key"; sleep 0.15; done

    press p
    sleep 0.3
    screenshot
    pause_shown || fail "P did not show the Pause button"
    click "$pause_x" "$pause_y"
    sleep 0.3
    screenshot
    pause_shown && fail "a click on Pause did not hide it"

    play_to_game_over
    click "$game_over_x" "$game_over_y"
    find_window Difficulty || fail "\"Game Over\" did not ask the question again"
    answer_question Return
    find_window Vorbix || fail "no \"Vorbix\" window after the restart"
    sleep 1
    for key in Down Left a Down; do press "$key"; sleep 0.3; done
    press p
    sleep 0.5
    screenshot
    pause_shown || fail "P did not pause the new game"
    cp "$shot" "$work/window.png"
    close_and_expect_success

    local keys
    keys=$(recorded_keys)
    [[ "$keys" == "37 39 65 83 80 "* ]] || fail "the game took the keys $keys, not Left Right A S P first"
    [[ "$keys" == *" 40 37 65 40 80 " ]] || fail "the game took the keys $keys, not Down Left A Down P last"
    expect_keys_took_effect
    { cat "$recording"; echo dump; } | "$replay" --png "$work/pictures" >/dev/null 2>"$work/replay.log" ||
        fail "vorbix-replay refused the recording: $(cat "$work/replay.log")"
    expect_same_picture "$work/window.png" "$work/pictures/dump-0001.png" "grim's picture at scale 1 and the offscreen one"
}

# The recording watched under Xvfb by the game drawing at twice the pixels; sets the picture
# of its client area in $work/reference.png.
picture_at_ratio_2() {
    require_tool Xvfb xvfb
    require_tool xdotool xdotool
    require_tool xwininfo x11-utils
    require_tool import imagemagick
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    helper_pids+=($!)
    for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.05; done
    [[ -s "$work/display" ]] || fail "Xvfb did not start"
    local display id info
    display=":$(head -n1 "$work/display")"
    DISPLAY=$display QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 XDG_RUNTIME_DIR=$runtime XDG_CONFIG_HOME=$runtime \
        "$game" --watch "$recording" >"$work/watch.log" 2>&1 &
    local watcher=$!
    helper_pids+=("$watcher")
    for _ in $(seq 600); do
        grep -q "played to its end" "$work/watch.log" && break
        sleep 0.1
    done
    grep -q "played to its end" "$work/watch.log" || fail "the playback did not end: $(cat "$work/watch.log")"
    id=$(DISPLAY=$display xdotool search --onlyvisible --name '^Vorbix$' | head -n1)
    [[ -n "$id" ]] || fail "no window for the playback"
    sleep 0.3
    info=$(DISPLAY=$display xwininfo -id "$id")
    local x y width height
    x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    width=$(awk '/Width:/ {print $NF}' <<<"$info")
    height=$(awk '/Height:/ {print $NF}' <<<"$info")
    DISPLAY=$display import -window root -crop "${width}x$height+$x+$y" +repage "$work/reference.png" ||
        fail "no picture of the playback"
    kill "$watcher"
}

scenario_scale2() {
    set_scale 2
    keep_window_size "$expected_width" "$expected_height"
    start_game --record "$recording"
    answer_question Escape
    find_window Vorbix || fail "no \"Vorbix\" window after the answer"
    expect_size "$expected_width" "$expected_height" "the window in logical pixels"
    sleep 3.5
    for key in Left a Down Right; do press "$key"; sleep 0.3; done
    press p
    sleep 0.5
    screenshot 2
    local size
    size=$(identify -format '%wx%h' "$shot")
    [[ "$size" == "$((2 * expected_width))x$((2 * expected_height))" ]] || fail "grim's picture at scale 2 is $size"
    pause_shown 2 || fail "P did not pause the game"
    cp "$shot" "$work/window.png"
    close_and_expect_success

    picture_at_ratio_2
    expect_same_picture "$work/window.png" "$work/reference.png" "grim's picture at scale 2 and the game's at ratio 2"
}

# The game's window as sway has it now, for wait_for_size.
measure_client() { find_window Vorbix || fail "no \"Vorbix\" window"; }

colour_at() { # x, y at 1x
    local x y
    read -r x y < <(spot "$1" "$2")
    pixel "$x" "$y"
}


zoomed_pause_shown() { is_button_face "$(colour_at "$pause_x" "$pause_y")"; }
zoomed_pause_hidden() { ! zoomed_pause_shown; }
curtain_open() { [[ "$(colour_at 410 20)" == "#FFFF00" && "$(colour_at 410 415)" == "#FFFF00" ]]; }

# The colours of the last picture but the game's window, and the pointer's arrow where it rests
# at the output's top left corner (over the margin in full screen).
margin_colours() {
    convert "$shot" +antialias -fill black \
        -draw "rectangle $game_left,$game_top $((game_left + game_width - 1)),$((game_top + game_height - 1))" \
        -draw "rectangle $((0 - client_x)),$((0 - client_y)) $((31 - client_x)),$((31 - client_y))" \
        -format %c histogram:info:-
}

# grim's picture of the window shows, where the game sits, the recording so far as
# vorbix-replay draws it at the zoom, and black around it. The window may still be repainting
# after a resize: pictures are taken until both hold, for a while.
expect_zoomed_picture() { # what
    rm -rf "$work/at-zoom"
    { cat "$recording"; echo dump; } | "$replay" --png "$work/at-zoom" --scale "$zoom" >/dev/null 2>"$work/replay.log" ||
        fail "vorbix-replay refused the recording: $(cat "$work/replay.log")"
    local margin
    for _ in $(seq 30); do
        screenshot
        convert "$shot" -crop "${game_width}x$game_height+$game_left+$game_top" +repage "$work/game.png"
        margin=$(margin_colours)
        "$picture_compare" "$work/game.png" "$work/at-zoom/dump-0001.png" "$work/diff.png" >"$work/compare.log" 2>&1 &&
            [[ "$(wc -l <<<"$margin")" == 1 && "$margin" == *"#000000"* ]] && break
        sleep 0.2
    done
    expect_same_picture "$work/game.png" "$work/at-zoom/dump-0001.png" "$1: grim's picture at zoom $zoom"
    [[ "$(wc -l <<<"$margin")" == 1 && "$margin" == *"#000000"* ]] || fail "$1: the margin is not black: $margin"
}

scenario_resize() {
    start_game --record "$recording"
    answer_question Escape
    find_window Vorbix || fail "no \"Vorbix\" window after the answer"
    wait_for_size 630 642 "the first window on a 1280 by 1024 output"
    sway_do "[app_id=\"io.github.vorbix.Vorbix\"]" resize set 1001 517
    wait_for_size 1001 517 "the window resized by sway"
    until_shown "the curtain did not open" curtain_open
    press p
    until_shown "P did not pause the game" zoomed_pause_shown
    expect_zoomed_picture "an odd size"

    sway_do "[app_id=\"io.github.vorbix.Vorbix\"]" fullscreen enable
    wait_for_size 1280 1024 "the window in full screen"
    local x y
    read -r x y < <(spot "$pause_x" "$pause_y")
    click "$x" "$y"
    until_shown "a click on the drawn Pause did not let the game go on" zoomed_pause_hidden
    press p
    until_shown "P did not pause the game in full screen" zoomed_pause_shown
    expect_zoomed_picture "full screen"
    close_and_expect_success
}

start_compositor
case "$scenario" in
play) scenario_play ;;
scale2) scenario_scale2 ;;
resize) scenario_resize ;;
*) fail "unknown scenario" ;;
esac
echo "passed: $scenario"
