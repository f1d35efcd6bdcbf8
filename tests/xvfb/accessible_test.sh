#!/usr/bin/env bash
# The game window's texts for assistive technology, read over the AT-SPI bus.
#   accessible_test.sh GAME WM_CLOSE
# In a D-Bus session of its own, with Qt's accessibility on: after a piece is dropped for
# points, the score and the pieces' count have said that their text changed; paused, the
# window's accessible tree holds every painted label as a static text with the text the window
# shows (the score among them, as the recording ends with it), and both buttons with their
# captions, "Pause" showing.
set -u
readonly game=$1 wm_close=$2
readonly scenario=accessible
# shellcheck source=../support/require.sh
source "$(dirname "$0")/../support/require.sh"
require_tool dbus-run-session dbus-daemon
require_tool /usr/libexec/at-spi-bus-launcher at-spi2-core
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
    [[ "${CI:-}" == true ]] && { echo "FAIL: pyatspi is missing (Debian package python3-pyatspi)" >&2; exit 1; }
    echo "skipped: pyatspi is not installed (Debian package python3-pyatspi)"
    exit 77
fi
if [[ -z "${VORBIX_OWN_SESSION:-}" ]]; then
    VORBIX_OWN_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

start_display
recording=$work/game.txt
reader=$(dirname "$0")/accessible_tree.py
start_game --record "$recording"
answer_question Escape
window=$(find_window Vorbix) || fail "no game window"
locate_client "$window"
sleep 1

# The changes of the first landing, heard while they happen.
/usr/bin/python3 "$reader" "$(basename "$game")" 4 >"$work/changes" 2>&1 &
listener=$!
for _ in $(seq 50); do grep -qs listening "$work/changes" && break; sleep 0.1; done
press Down
wait "$listener" || fail "no changes heard: $(cat "$work/changes")"

# The tree, paused.
press p
sleep 0.5
tree=$(/usr/bin/python3 "$reader" "$(basename "$game")" 2>&1) || fail "no accessible tree: $tree"
close_game_and_expect_success

labels=$(sed -n 's/^# @[0-9]* the recording ends: //p' "$recording")
[[ "$labels" == *"Score:"* ]] || fail "the recording does not end with the labels: $labels"
score=$(grep -o 'Score:[0-9]*' <<<"$labels" | head -n1)
[[ "$score" != "Score:000000" ]] || fail "no points were made"
texts=$(awk -F'\t' '$2 == "label" || $2 == "static" {print $3}' <<<"$tree")
while IFS= read -r label; do
    grep -qxF "$label" <<<"$texts" || fail "the painted label \"$label\" is not in the tree:
$tree"
done < <(tr ',' '\n' <<<"$labels" | sed 's/^ //')
grep -qxF "$score" <<<"$texts" || fail "the score $score is not in the tree"
grep -qP '^\d+\tpush button\tPause\tshowing$' <<<"$tree" || fail "no Pause button showing in the tree:
$tree"
grep -qP '^\d+\tpush button\tGame Over\t' <<<"$tree" || fail "no \"Game Over\" button in the tree:
$tree"
grep -q $'^changed\tScore:0000[1-9]' "$work/changes" || fail "no change of the score was told: $(cat "$work/changes")"
# Which count it was depends on how far the intro had come when Down was pressed.
grep -q $'^changed\tBlocks:000[1-9]$' "$work/changes" || fail "no change of the pieces was told: $(cat "$work/changes")"
echo "accessible: $(wc -l <<<"$texts") static texts, $score, both buttons, $(grep -c changed "$work/changes") changes told"
