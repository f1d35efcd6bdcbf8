#!/usr/bin/env bash
# Installs the Debian packages Vorbix needs to build, run and test, when any is missing.
# The list is kept in one place, debian/control's Build-Depends: everything in it, the
# tests' tools and the developers' tools (the pkg.vorbix.devtools profile) included; see
# debian/README.source.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
control=$top/debian/control
profiles=pkg.vorbix.devtools

# Nothing missing: done at once (dpkg-checkbuilddeps reads only dpkg's own database).
if command -v dpkg-checkbuilddeps >/dev/null &&
  dpkg-checkbuilddeps -P "$profiles" "$control" >/dev/null 2>&1; then
  exit 0
fi

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
# mk-build-deps (devscripts, with equivs) makes a package, vorbix-build-deps, that depends
# on the whole list; installing it installs what is missing, and
# `apt remove vorbix-build-deps` lets them all go again.
"${sudo[@]}" apt-get install -y -qq --no-install-recommends devscripts equivs dpkg-dev build-essential >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root_command=()
[ ${#sudo[@]} -gt 0 ] && root_command=(--root-cmd sudo)
(cd "$work" && mk-build-deps --install --remove "${root_command[@]}" --build-profiles "$profiles" \
  --tool 'apt-get -y -qq --no-install-recommends -o Debug::pkgProblemResolver=yes' "$control")
dpkg-checkbuilddeps -P "$profiles" "$control"
