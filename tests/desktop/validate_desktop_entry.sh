#!/usr/bin/env bash
# Checks the desktop menu entry against the freedesktop.org rules (desktop-file-utils).
# Exit 77 tells ctest the check was skipped because the validator is not installed.
set -euo pipefail
entry=$1

if ! command -v desktop-file-validate >/dev/null; then
  echo "desktop-file-validate not found (Debian package desktop-file-utils); skipped"
  exit 77
fi
# The validator prints hints even for a valid file; any line at all is a finding.
findings=$(desktop-file-validate "$entry" 2>&1) || { echo "$findings"; exit 1; }
if [ -n "$findings" ]; then
  echo "$findings"
  exit 1
fi
echo "$entry: valid"
