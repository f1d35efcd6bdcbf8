#!/usr/bin/env bash
# The manual pages format without a single warning, from groff and from man alike, and each
# names every option its program's --help shows.
# Usage: check_man_pages.sh PAGE... -- PROGRAM...
set -euo pipefail
# shellcheck source=../support/require.sh
source "$(dirname "$0")/../support/require.sh"
require_tool groff groff-base
require_tool man man-db

pages=()
while [ "$1" != "--" ]; do pages+=("$1"); shift; done
shift
failed=0
for page in "${pages[@]}"; do
  warnings=$( { groff -man -ww -z "$page"; MANWIDTH=80 man --warnings -l "$page" >/dev/null; } 2>&1)
  if [ -n "$warnings" ]; then echo "$page: $warnings"; failed=1; else echo "no warning: $page"; fi
done
for program in "$@"; do
  page=$(dirname "${pages[0]}")/$(basename "$program").6
  for option in $("$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    grep -qF -- "\\-\\-${option#--}" "$page" || { echo "$page does not describe $option"; failed=1; }
  done
done
exit "$failed"
