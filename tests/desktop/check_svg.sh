#!/usr/bin/env bash
# Checks that the icon is well-formed XML whose root is an SVG element with a square
# view box, as the icon theme's scalable folder expects. Uses xmllint, else python3.
set -euo pipefail
icon=$1

if command -v xmllint >/dev/null; then
  xmllint --noout "$icon"
  root=$(xmllint --xpath 'concat(namespace-uri(/*), " ", local-name(/*))' "$icon")
  view_box=$(xmllint --xpath 'string(/*/@viewBox)' "$icon")
elif command -v python3 >/dev/null; then
  { read -r root; read -r view_box; } < <(python3 - "$icon" <<'PY'
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
namespace, _, name = root.tag[1:].partition("}") if root.tag.startswith("{") else ("", "", root.tag)
print(namespace, name)
print(root.get("viewBox", ""))
PY
  )
else
  # shellcheck source=../support/require.sh
  source "$(dirname "$0")/../support/require.sh"
  require_tool xmllint libxml2-utils
fi

case "$root" in
  "http://www.w3.org/2000/svg svg") ;;
  *) echo "$icon: the root element is '$root', not an SVG element"; exit 1 ;;
esac
read -r _ _ width height <<<"${view_box//,/ }"
if [ -z "${height:-}" ] || [ "$width" != "$height" ]; then
  echo "$icon: view box '$view_box' is not square"
  exit 1
fi
echo "$icon: well-formed SVG, view box $view_box"
