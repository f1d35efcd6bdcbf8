#!/usr/bin/env bash
# The package on a clean system: installed into an empty root with dpkg, it puts the game on
# the PATH and in the applications menu, its manual pages open with man, the menu entry
# starts the game through gio, and removing the package leaves nothing behind.
#   menu_launch_test.sh PACKAGE_DIR WM_CLOSE APP_ID
set -u
readonly package_dir=$1 wm_close=$2 app_id=$3
readonly scenario=menu-launch game=""
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
require_tool dpkg dpkg
require_tool gio libglib2.0-bin
require_tool man man-db

shopt -s nullglob
packages=("$package_dir"/vorbix_*.deb)
((${#packages[@]} == 1)) || fail "expected one package in $package_dir"
system=$work/system
mkdir -p "$system/var/lib/dpkg/info" "$system/var/lib/dpkg/updates"
touch "$system/var/lib/dpkg/status"
# The empty root has none of the packages the game depends on: they are on this machine.
dpkg --root="$system" --force-depends --log=/dev/null -i "${packages[0]}" >"$work/dpkg.log" 2>&1 ||
    fail "dpkg could not install the package: $(cat "$work/dpkg.log")"

games_path="$system/usr/games:$PATH"
for program in vorbix vorbix-replay; do
    [[ "$(PATH=$games_path command -v "$program")" == "$system/usr/games/$program" ]] || fail "$program is not on the PATH"
    MANWIDTH=80 man -M "$system/usr/share/man" 6 "$program" 2>"$work/man.log" | grep -q "^NAME" ||
        fail "man 6 $program: $(cat "$work/man.log")"
done
entry="$system/usr/share/applications/$app_id.desktop"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
PATH=$games_path command -v "$program" >/dev/null || fail "the menu entry's Exec=$program is not on the PATH"

start_display
XDG_DATA_DIRS="$system/usr/share:/usr/share" PATH=$games_path gio launch "$entry" >"$work/game.log" 2>&1 ||
    fail "gio could not launch the menu entry"
find_window Difficulty >/dev/null || fail "the game launched from the menu asks no question"
for pid in $(pgrep -x vorbix); do
    [[ "$(readlink "/proc/$pid/exe")" == "$system/usr/games/vorbix" ]] && game_pid=$pid
done
[[ -n "$game_pid" ]] || fail "the running game is not the installed one"
answer_question Escape
window=$(find_window Vorbix) || fail "no game window"
# Started by gio, the game is not this script's child: its status cannot be waited for.
close_window_and_wait "$window"
game_pid=""

dpkg --root="$system" --log=/dev/null --purge vorbix >>"$work/dpkg.log" 2>&1 || fail "dpkg could not remove the package"
left=$(cd "$system" && find . -mindepth 1 -not -path './var' -not -path './var/lib' -not -path './var/lib/dpkg*')
[[ -z "$left" ]] || fail "removing the package left behind: $left"
echo "passed"
