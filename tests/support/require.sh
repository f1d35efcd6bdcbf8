# shellcheck shell=bash
# Sourced by the shell tests: require_tool NAME PACKAGE stops a test whose tool is missing.
# On a developer's machine the test is skipped (exit 77); under CI=true, where install-deps
# has installed every tool, a missing one is a failure.
require_tool() {
  command -v "$1" >/dev/null 2>&1 && return 0
  if [ "${CI:-}" = true ]; then
    echo "FAIL: $1 is missing (Debian package $2); scripts/install-deps.sh installs it" >&2
    exit 1
  fi
  echo "skipped: $1 is not installed (Debian package $2)"
  exit 77
}
