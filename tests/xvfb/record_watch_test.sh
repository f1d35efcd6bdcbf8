#!/usr/bin/env bash
# Recording and watching a game in the real window.
#   record_watch_test.sh GAME WM_CLOSE REPLAY PICTURE_COMPARE
# A game played with keys, lost, restarted in hard mode and paused, is recorded; the window's
# last picture is taken before it is closed. Replayed by vorbix-replay, the recording draws
# the same picture and ends with the labels the window showed; watched with --watch, it ends
# in the same picture again. A path that cannot be written stops the game before any window;
# a recording cut off by killing the game replays without an error; a recording that can no
# longer be written keeps its whole events, says so once, lets the game play on and ends it
# with status 2; and a recording cut in the middle of a line is watched up to that line.
set -u
readonly game=$1 wm_close=$2 replay=$3 picture_compare=$4
readonly scenario=record-watch
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

client_picture() { # file: the client area of the last screenshot
    convert "$shot" -crop "${client_width}x${client_height}+${client_x}+${client_y}" +repage "$1"
}

expect_same_picture() { # actual, expected, what
    "$picture_compare" "$1" "$2" "$work/diff.png" >"$work/compare.log" 2>&1 ||
        { cp "$1" "xvfb-$scenario-actual.png"; fail "$3: $(cat "$work/compare.log")"; }
}

start_display
recording=$work/game.txt

# Play, lose, restart in hard mode, pause; then close the window.
start_game --record "$recording"
answer_question Escape
window=$(find_window Vorbix) || fail "no game window"
locate_client "$window"
sleep 1
for key in Left a Right Right s; do press "$key"; sleep 0.15; done
play_to_game_over
xdotool mousemove $((client_x + game_over_x)) $((client_y + game_over_y)) click 1
answer_question Return
window=$(find_window Vorbix) || fail "no game window after the restart"
locate_client "$window"
sleep 1
for key in Down Left a Down; do press "$key"; sleep 0.3; done
press p
sleep 0.5
screenshot
pause_shown || fail "P did not pause the game"
client_picture "$work/window.png"
close_game_and_expect_success

# The recording, replayed with a dump at its end, draws the same picture and holds the
# labels the window showed when the recording ended.
grep -q '^# @[0-9]* the recording ends: ' "$recording" || fail "the recording does not say how it ended"
labels=$(sed -n 's/^# @[0-9]* the recording ends: //p' "$recording")
{ cat "$recording"; echo dump; } | "$replay" --png "$work/pictures" >"$work/dump.json" 2>"$work/replay.log" ||
    fail "vorbix-replay refused the recording: $(cat "$work/replay.log")"
expect_same_picture "$work/window.png" "$work/pictures/dump-0001.png" "the replayed picture"
dumped=$(/usr/bin/python3 -c 'import json, sys
labels = json.load(sys.stdin)["labels"]
print(", ".join(labels[name]["text"] for name in labels))' <"$work/dump.json")
[[ "$dumped" == "$labels" ]] || fail "the replay ends with the labels $dumped, the window showed $labels"
for label in Score HiScore Rows Blocks; do
    [[ "$labels" == *"$label:"* ]] || fail "the window showed no $label"
done

# Watched, it ends in the same picture.
start_game --watch "$recording"
for _ in $(seq 600); do
    grep -q "played to its end" "$work/game.log" && break
    sleep 0.1
done
grep -q "played to its end" "$work/game.log" || fail "the playback did not end"
window=$(find_window Vorbix) || fail "no window for the playback"
locate_client "$window"
sleep 0.3
screenshot
client_picture "$work/watched.png"
expect_same_picture "$work/watched.png" "$work/pictures/dump-0001.png" "the watched picture"
close_game_and_expect_success

# A path that cannot be written: a message, status 2, no window.
"$game" --record "$work/no/such/folder/game.txt" >"$work/unwritable.log" 2>&1
status=$?
((status == 2)) || fail "an unwritable recording gave status $status"
grep -q "^vorbix: cannot record to $work/no/such/folder/game.txt: " "$work/unwritable.log" ||
    fail "no clear message for an unwritable path: $(cat "$work/unwritable.log")"

# A recording cut off by killing the game replays up to its last line without an error.
start_game --record "$work/killed.txt"
answer_question Escape
find_window Vorbix >/dev/null || fail "no game window"
for key in Left Down Right; do press "$key"; sleep 0.4; done
kill -KILL "$game_pid"
wait "$game_pid" 2>/dev/null
game_pid=""
[[ "$(tail -c 1 "$work/killed.txt" | od -An -c | tr -d ' ')" == '\n' ]] || fail "the killed recording ends in half a line"
"$replay" "$work/killed.txt" >/dev/null 2>"$work/replay.log" || fail "the killed recording: $(cat "$work/replay.log")"

# A recording that fills its disk: here a limit of 1024 bytes (bash counts kilobytes) on the
# files the game writes.
(ulimit -f 1; trap '' XFSZ; exec "$game" --record "$work/full.txt") >"$work/game.log" 2>&1 &
game_pid=$!
answer_question Escape
window=$(find_window Vorbix) || fail "no game window while recording to a full disk"
locate_client "$window"
sleep 2
for key in Left Right Down Left Right; do press "$key"; sleep 0.2; done
kill -0 "$game_pid" 2>/dev/null || fail "the game ended when its recording stopped"
close_window_and_wait "$window"
wait "$game_pid"
status=$?
game_pid=""
((status == 2)) || fail "a recording that stopped half-way gave status $status"
(($(grep -c "the recording stopped" "$work/game.log") == 1)) || fail "not told once: $(cat "$work/game.log")"
(($(stat -c %s "$work/full.txt") <= 1024)) || fail "the recording outgrew its limit"
[[ "$(tail -c 1 "$work/full.txt" | od -An -c | tr -d ' ')" == '\n' ]] || fail "the stopped recording ends in half a line"
"$replay" "$work/full.txt" >/dev/null 2>"$work/replay.log" || fail "the stopped recording: $(cat "$work/replay.log")"

# Cut in the middle of a line, the recording is watched up to the line before, and the
# program says where it stopped.
head -c $(($(stat -c %s "$recording") - 3)) "$recording" >"$work/cut.txt"
cut_line=$(wc -l <"$work/cut.txt")
start_game --watch "$work/cut.txt"
window=$(find_window Vorbix) || fail "no window for a cut recording"
grep -q "is watched up to where it stops, line $((cut_line + 1)): the line has no end" "$work/game.log" ||
    fail "the cut was not told: $(cat "$work/game.log")"
close_game_and_expect_success
echo "passed"
