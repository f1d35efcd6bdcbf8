#!/usr/bin/env bash
# The folders of the code form layers: each includes only the folders below it, the game
# knows no front end, and only the Qt front end, the program and its tools know Qt.
# Prints every include that breaks a rule and fails; also fails when the folders' includes
# form a circle.
set -euo pipefail
cd "$(dirname "$0")/../.."

# What each folder may include besides itself.
declare -A allowed=(
  [platform]=""
  [form]="platform"
  [window]="platform form"
  [game]="platform form"
  [flow]="platform form"
  [headless]="platform"
  [qt]="platform"
  [web]="platform form headless tools"
  [tools]="platform form headless qt"
  [app]="platform form headless qt tools"
)
# Folders whose files never include a Qt header.
without_qt="platform form window game flow headless web"

status=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS=: read -r file target; do
    used=${target%%/*}
    [ "$used" = "$folder" ] && continue
    [ -d "$used" ] || continue
    echo "$folder $used" >>"$edges"
    if [[ " ${allowed[$folder]} " != *" $used "* ]]; then
      echo "$file: $folder/ must not include $target"
      status=1
    fi
  done < <(grep -rHoE '^#include "[^"]+"' "$folder" --include='*.h' --include='*.cpp' | sed 's/#include "//; s/"$//')
  if [[ " $without_qt " == *" $folder "* ]] && grep -rnE '^#include <Q' "$folder" --include='*.h' --include='*.cpp'; then
    echo "$folder/ must not include a Qt header"
    status=1
  fi
done
if ! sort -u "$edges" | tsort >/dev/null 2>&1; then
  echo "the folders' includes form a circle:"
  sort -u "$edges"
  status=1
fi
[ $status -eq 0 ] && echo "the folders form layers"
exit $status
