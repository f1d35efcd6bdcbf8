#!/usr/bin/env bash
# Checks the desktop menu entry against the freedesktop.org rules (desktop-file-utils).
set -euo pipefail
entry=$1

# shellcheck source=../support/require.sh
source "$(dirname "$0")/../support/require.sh"
require_tool desktop-file-validate desktop-file-utils
# The validator prints hints even for a valid file; any line at all is a finding.
findings=$(desktop-file-validate "$entry" 2>&1) || { echo "$findings"; exit 1; }
if [ -n "$findings" ]; then
  echo "$findings"
  exit 1
fi
echo "$entry: valid"
