# Shared by the Wayland window tests: a headless sway, the game under it as a Wayland client,
# its windows found through sway's IPC, keys typed with wtype, clicks made with sway's own
# seat commands, pictures taken with grim. A test sets
#   game      the game program
#   scenario  its name, used in messages and in the failure picture's name
# then sources this file and calls start_compositor. When a tool is missing the test is
# skipped (exit 77), or fails under CI=true.
#
# sway refuses to run as root: a test started as root runs the compositor and every client
# as the unprivileged user nobody, with a runtime folder of its own. setpriv changes the
# user and becomes the program (runuser would stay its parent), so that every process
# started here is known by its own id and ended when the test ends.
# shellcheck shell=bash
# The including test sets game and scenario, and reads what is set here.
# shellcheck disable=SC2034,SC2154

# shellcheck source=../support/require.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/require.sh"
require_tool sway sway
require_tool swaymsg sway
require_tool wtype wtype
require_tool grim grim
require_tool wayvnc wayvnc
require_tool convert imagemagick
require_tool python3 python3
# The game finds the Wayland platform plugin at run time only.
if ! dpkg-query -W -f='${Status}' qt6-wayland 2>/dev/null | grep -q 'install ok installed'; then
    if [ "${CI:-}" = true ]; then
        echo "FAIL: Qt's Wayland platform plugin is missing (Debian package qt6-wayland)" >&2
        exit 1
    fi
    echo "skipped: Qt's Wayland platform plugin is not installed (Debian package qt6-wayland)"
    exit 77
fi

work=$(mktemp -d)
chmod 755 "$work"
runtime=$work/runtime
mkdir -m 700 "$runtime"
shot=$work/screen.png
sway_pid=""
game_pid=""
helper_pids=()
user=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$runtime"
    user=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups)
fi

cleanup() {
    if [[ -n "$game_pid" ]] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid"; fi
    for pid in "${helper_pids[@]}"; do kill "$pid" 2>/dev/null; done
    if [[ -n "$sway_pid" ]]; then kill "$sway_pid" 2>/dev/null; wait "$sway_pid" 2>/dev/null; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL ($scenario): $*" >&2
    [[ -f "$shot" ]] && cp "$shot" "wayland-$scenario-failure.png"
    [[ -f "$runtime/game.log" ]] && sed 's/^/game: /' "$runtime/game.log" >&2
    [[ -f "$runtime/sway.log" ]] && grep -v -E '\[(INFO|DEBUG)\]' "$runtime/sway.log" | tail -n 20 | sed 's/^/sway: /' >&2
    exit 1
}

# The command line that runs a command as the compositor's user, in its session, in
# command_line: the environment is only what a Wayland session gives (no X display), and
# the sanitizers' settings. Started in the background as it is, it is the command's own id
# that $! gives.
session_command() {
    local variables=(PATH=/usr/bin:/bin HOME="$runtime" XDG_RUNTIME_DIR="$runtime" XDG_SESSION_TYPE=wayland
        LANG=C.UTF-8)
    [[ -n "${wayland_display:-}" ]] && variables+=(WAYLAND_DISPLAY="$wayland_display" SWAYSOCK="$sway_socket")
    local name
    for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
        [[ -n "${!name:-}" ]] && variables+=("$name=${!name}")
    done
    # Under the sanitizers the game is checked for memory errors and undefined behaviour
    # here, not for leaks: Qt's Wayland client leaves its protocol objects to the end of the
    # process, and Mesa, loaded for it and unloaded again, leaves buffers that no suppression
    # can name. The game's own memory is leak-checked under X11 and offscreen.
    [[ -n "${ASAN_OPTIONS:-}" ]] && variables+=("ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0")
    command_line=("${user[@]}" env -i "${variables[@]}" "$@")
}

session() {
    session_command "$@"
    "${command_line[@]}"
}

sway_do() { session swaymsg "$@" >/dev/null || fail "swaymsg $*"; }

# A user's file of the test: a path in the runtime folder that the session can write.
user_file() { echo "$runtime/$1"; }

# The game opens its window where the player left it: here at this size, in the output's
# logical pixels.
keep_window_size() { # width, height
    # shellcheck disable=SC2016 # expanded by the session's shell
    session sh -c 'mkdir -p "$HOME/.config/vorbix" && printf "[window]\nsize=@Size(%d %d)\n" "$1" "$2" \
        >"$HOME/.config/vorbix/vorbix.conf"' sh "$1" "$2"
}

start_compositor() {
    cat >"$work/sway.conf" <<'CONFIG'
# No X server, no frames: a Wayland client alone, its client area where its window is.
xwayland disable
default_border none
default_floating_border none
# The game's window floats, at the size it asks for, as a fixed window would; tiled, it would
# fill the output.
for_window [app_id="io.github.vorbix.Vorbix"] floating enable
output HEADLESS-1 mode 1280x1024 position 0 0 scale 1
CONFIG
    chmod 644 "$work/sway.conf"
    # No GPU and no input devices: pixels from the software renderer.
    session_command env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$work/sway.conf"
    "${command_line[@]}" >"$runtime/sway.log" 2>&1 &
    sway_pid=$!
    local socket display
    for _ in $(seq 200); do
        socket=$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*.sock' -printf '%f\n' | head -n1)
        display=$(find "$runtime" -maxdepth 1 -name 'wayland-[0-9]' -printf '%f\n' | head -n1)
        if [[ -n "$socket" && -n "$display" ]]; then
            sway_socket=$runtime/$socket
            wayland_display=$display
            break
        fi
        kill -0 "$sway_pid" 2>/dev/null || fail "sway did not start"
        sleep 0.05
    done
    [[ -n "${sway_socket:-}" ]] || fail "sway did not open its sockets"
    # Qt takes keys only while the seat has a keyboard, and clicks only while it has a
    # pointer: a VNC server on a private socket holds a virtual one of each.
    session_command wayvnc --unix-socket "$runtime/vnc.sock"
    "${command_line[@]}" >"$runtime/wayvnc.log" 2>&1 &
    helper_pids+=($!)
    for _ in $(seq 100); do
        [[ "$(session swaymsg -t get_seats | python3 -c 'import json, sys; print(json.load(sys.stdin)[0]["capabilities"])')" == 3 ]] &&
            return
        sleep 0.05
    done
    fail "no virtual pointer and keyboard: $(cat "$runtime/wayvnc.log")"
}

# The output's scale: 1, 2, or a fraction.
set_scale() { sway_do output HEADLESS-1 scale "$1"; }

# The unprivileged user may not reach a build folder inside root's home: the game (its
# libraries are the system's) and the leak checker's suppressions are then copied for it.
reachable_for_session() {
    local file=$1
    if session test -r "$file"; then echo "$file"; return; fi
    cp "$file" "$work/$(basename "$file")"
    chmod a+rx "$work/$(basename "$file")"
    echo "$work/$(basename "$file")"
}

start_game() {
    local program
    program=$(reachable_for_session "$game")
    if [[ "${LSAN_OPTIONS:-}" =~ suppressions=([^:]*) ]]; then
        LSAN_OPTIONS=${LSAN_OPTIONS/${BASH_REMATCH[1]}/$(reachable_for_session "${BASH_REMATCH[1]}")}
    fi
    session_command "$program" "$@"
    "${command_line[@]}" >"$runtime/game.log" 2>&1 &
    game_pid=$!
}

# The place of the visible window with this title, in the output's logical pixels, as
# "X Y WIDTH HEIGHT" (empty when there is none), and what it is: a Wayland client of the game.
window_place() {
    session swaymsg -t get_tree | python3 -c '
import json, sys
def windows(node):
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from windows(child)
    if node.get("pid"):
        yield node
for window in windows(json.load(sys.stdin)):
    if window.get("name") == sys.argv[1] and window.get("visible"):
        if window.get("shell") != "xdg_shell":
            sys.exit("the window is not a Wayland client: " + str(window.get("shell")))
        r, w = window["rect"], window["window_rect"]
        print(r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"])
        break
' "$1"
}

# Waits up to 10 s for the window with this title and sets client_x, client_y, client_width
# and client_height.
find_window() {
    local place
    for _ in $(seq 200); do
        place=$(window_place "$1") || fail "$place"
        if [[ -n "$place" ]]; then
            read -r client_x client_y client_width client_height <<<"$place"
            return 0
        fi
        sleep 0.05
    done
    return 1
}

window_gone() {
    for _ in $(seq 60); do
        [[ -z "$(window_place "$1")" ]] && return 0
        sleep 0.05
    done
    return 1
}

# A key pressed and released, by its XKB name; wtype gives each press its own short hold.
press() {
    session wtype -k "$1" || fail "wtype could not type $1"
    sleep 0.05
}

# A left click on a client pixel of the window last found.
click() {
    sway_do seat seat0 cursor set $((client_x + $1)) $((client_y + $2))
    sleep 0.1
    sway_do seat seat0 cursor press button1
    sleep 0.05
    sway_do seat seat0 cursor release button1
    # The pointer leaves the window, so that no picture holds it.
    sway_do seat seat0 cursor set 1 1
}

answer_question() {
    find_window Difficulty || fail "no \"Difficulty\" question"
    press "$1"
    window_gone Difficulty && return
    press "$1"
    window_gone Difficulty || fail "the question did not close on $1"
}

# The window last found, as the output shows it, at the output's scale (grim writes it into
# the runtime folder, which only the session may write).
screenshot() {
    local scale=${1:-1}
    session grim -s "$scale" -g "$client_x,$client_y ${client_width}x$client_height" "$runtime/screen.png" ||
        fail "grim took no picture"
    cp "$runtime/screen.png" "$shot"
}

# The colour of a client pixel (in logical pixels) in the last screenshot, as #RRGGBB.
pixel() {
    local scale=${3:-1}
    convert "$shot" -crop "1x1+$(($1 * scale))+$(($2 * scale))" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1
}

# Light grey, as a push button's face is drawn: red, green and blue equal and above 200.
is_button_face() {
    local colour=$1
    local r=$((16#${colour:1:2})) g=$((16#${colour:3:2})) b=$((16#${colour:5:2}))
    ((r == g && g == b && r > 200))
}

# Where the large "Pause" button and the left part of the "Game Over" button show.
readonly pause_x=110 pause_y=100 game_over_x=128 game_over_y=150

pause_shown() { is_button_face "$(pixel "$pause_x" "$pause_y" "${1:-1}")"; }
game_over_shown() { is_button_face "$(pixel "$game_over_x" "$game_over_y" "${1:-1}")"; }

# The game window must have been located.
# shellcheck source=../support/play_to_game_over.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/play_to_game_over.sh"

# Closes the game's window as the compositor does when the user closes it, and expects the
# game to end with status 0 within 20 s (a sanitized build looks for leaks on its way out,
# which takes seconds on a busy machine).
close_and_expect_success() {
    sway_do "[title=\"^Vorbix\$\"]" kill
    for _ in $(seq 2000); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.01
    done
    if kill -0 "$game_pid" 2>/dev/null; then
        local place
        place=$(window_place Vorbix 2>&1)
        fail "the game still runs 20 s after its window was closed; its window ${place:+is still shown at $place}${place:-is gone}"
    fi
    wait "$game_pid"
    local status=$?
    game_pid=""
    ((status == 0)) || fail "the game exited with status $status"
    if grep -Eq 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: [A-Za-z]+Sanitizer' "$runtime/game.log"; then
        fail "the sanitizers reported a fault"
    fi
}
