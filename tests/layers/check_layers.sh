#!/usr/bin/env bash
# The rooms of the code form layers: each includes only the rooms of the layers beneath it,
# the game knows no front end, and only the Qt front end and the programs know Qt. Prints
# every include that breaks a rule and fails; also fails when a room is in no layer.
set -euo pipefail
cd "$(dirname "$0")/../.."

# The layers, bottom up, as README.md and docs/architecture.md list them; the rooms of one
# layer do not include each other.
layers=(
  "platform"
  "form"
  "window game flow"
  "paint"
  "headless"
  "script"
  "qt"
  "web"
  "programs"
)
# Rooms whose files include Qt headers.
with_qt="qt programs"

declare -A level
for n in "${!layers[@]}"; do
  for room in ${layers[$n]}; do level[$room]=$n; done
done

status=0
for folder in */; do
  room=${folder%/}
  [ -n "$(git ls-files -- "$room/*.h" "$room/*.cpp")" ] || continue
  case $room in tests | bench) continue ;; esac
  if [ -z "${level[$room]:-}" ]; then
    echo "$room/ holds C++ code but is in no layer"
    status=1
    continue
  fi
  while IFS=: read -r file target; do
    used=${target%%/*}
    [ "$used" = "$room" ] && continue
    [ -n "${level[$used]:-}" ] || continue
    if [ "${level[$used]}" -ge "${level[$room]}" ]; then
      echo "$file: $room/ must not include $target"
      status=1
    fi
  done < <(grep -rHoE '^#include "[^"]+"' "$room" --include='*.h' --include='*.cpp' | sed 's/#include "//; s/"$//')
  if [[ " $with_qt " != *" $room "* ]] && grep -rnE '^#include <Q' "$room" --include='*.h' --include='*.cpp'; then
    echo "$room/ must not include a Qt header"
    status=1
  fi
done
[ $status -eq 0 ] && echo "the rooms form layers"
exit $status
