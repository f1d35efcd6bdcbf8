#!/usr/bin/env bash
# A whole game played with a game controller in the real window.
#   pad_test.sh PAD_GAME WM_CLOSE REPLAY
# PAD_GAME is the game with a virtual controller that lines on its standard input drive. The
# controller answers the question, moves, turns, drops, pauses and goes on, is pulled out and
# plugged in again while the game runs, does nothing while another window is in front, plays to
# the end and plays again. The recording holds the keys and clicks the controller gave, and
# replayed it ends with the labels the window showed.
set -u
readonly game=$1 wm_close=$2 replay=$3
readonly scenario=pad
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

start_display
recording=$work/game.txt
mkfifo "$work/pad"
"$game" "$recording" <"$work/pad" >"$work/game.log" 2>&1 &
game_pid=$!
exec 5>"$work/pad"

pad() { echo "$*" >&5; }
# SDL's virtual controller holds a state, not a queue of events: a press is held longer than
# the controller is looked at while nothing moves, or the look finds it released again.
tap() { # button [pause afterwards]
    pad press "$1"
    sleep 0.15
    pad release "$1"
    sleep "${2:-0.25}"
}
# The lines of the recording so far that are exactly this.
recorded() { grep -cx "$1" "$recording"; }
expect_recorded() { # line, count at least, what
    local found
    found=$(recorded "$1")
    ((found >= $2)) || fail "$3: \"$1\" recorded $found times, expected at least $2"
}
# The question closes with the controller's answer, which the recording holds.
answer_with_pad() { # the button that moves to the answer, the answer
    find_window Difficulty >/dev/null || fail "no \"Difficulty\" question"
    local before
    before=$(recorded "answer $2")
    sleep 0.3
    [[ -n "$1" ]] && tap "$1"
    tap a
    window_gone Difficulty || fail "the controller did not answer the question"
    (($(recorded "answer $2") == before + 1)) || fail "the controller answered, but not \"$2\": $(cat "$recording")"
}

pad plug
# The box lays its buttons out Yes then No: right moves to No, and left back to Yes.
find_window Difficulty >/dev/null || fail "no \"Difficulty\" question"
tap right
tap left
answer_with_pad right no
window=$(find_window Vorbix) || fail "no game window"
locate_client "$window"
sleep 1

# Moves, turns and a held move that repeats.
tap left
tap a
tap right
tap b
expect_recorded "key 37" 1 "D-pad left"
expect_recorded "key 65" 1 "the bottom button"
expect_recorded "key 83" 1 "the right button"
pad press right
sleep 0.6
pad release right
sleep 0.2
expect_recorded "key 39" 5 "D-pad right held"
before=$(recorded "key 37")
pad axis x -0.3
sleep 0.2
(($(recorded "key 37") == before)) || fail "the stick moved the piece inside its dead zone"
pad axis x -1
sleep 0.1
pad axis x 0
sleep 0.2
(($(recorded "key 37") == before + 1)) || fail "the stick did not move the piece once"

# Start pauses, and clicks Pause to go on.
tap start 0.4
expect_recorded "key 80" 1 "Start in play"
screenshot
pause_shown || fail "Start did not pause the game"
tap start 0.4
expect_recorded "click Pause" 1 "Start while paused"
screenshot
pause_shown && fail "Start did not end the pause"

# Pulled out, the controller gives nothing; plugged in again, it is found within a second.
pad unplug
sleep 0.3
before=$(recorded "key 37")
kill -0 "$game_pid" || fail "the game ended when the controller was pulled out"
pad plug
sleep 1.3
tap left
(($(recorded "key 37") == before + 1)) || fail "the controller plugged in again was not found"

# With no window of the game's in front the controller plays nothing, as the keyboard would;
# with the game's window in front again it plays at once.
root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
xdotool windowfocus "$root"
sleep 0.3
tap left
(($(recorded "key 37") == before + 1)) || fail "the controller moved the piece with the game's window in the back"
xdotool windowfocus "$window"
sleep 0.3
tap left
(($(recorded "key 37") == before + 2)) || fail "the controller did not play once the game's window was in front again"

# Dropping with the D-pad ends the game; Start plays again and the controller answers Yes.
press() { tap down 0.02; }
play_to_game_over
# The click is written down once the question it asks is answered.
tap start 0.1
answer_with_pad "" yes
expect_recorded "click Command1" 1 "Start at game over"
window=$(find_window Vorbix) || fail "no game window after the restart"
sleep 0.5
tap down 0.5
close_game_and_expect_success

# Replayed, the recording ends with the labels the window showed.
labels=$(sed -n 's/^# @[0-9]* the recording ends: //p' "$recording")
[[ -n "$labels" ]] || fail "the recording does not say how it ended"
{ cat "$recording"; echo dump; } | "$replay" >"$work/dump.json" 2>"$work/replay.log" ||
    fail "vorbix-replay refused the recording: $(cat "$work/replay.log")"
dumped=$(/usr/bin/python3 -c 'import json, sys
labels = json.load(sys.stdin)["labels"]
print(", ".join(labels[name]["text"] for name in labels))' <"$work/dump.json")
[[ "$dumped" == "$labels" ]] || fail "the replay ends with the labels $dumped, the window showed $labels"
echo "pad: a whole game with the controller, $(grep -c '^key' "$recording") keys recorded"
