#!/usr/bin/env bash
# Builds the Debian package of the committed tree (HEAD, or the commit given) and checks it:
#  1. the source and binary packages, built with dpkg-buildpackage, which runs the tests;
#  2. the binary package built again, in another folder, later, as another user, with
#     another umask and time zone, without the tests: byte for byte the same .deb (cmp);
#  3. lintian: no error and no warning in the source or the binary package;
#  4. autopkgtest (the null runner, so as root or with sudo: it installs the package on
#     this machine, and removes it again if it was not installed before);
#  5. the package tests of the source tree (ctest -L package) against the built .deb.
# Usage: scripts/check-package.sh [COMMIT] — the packages stay in build/pkg-check/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# The commit is named once: both builds take the same one, whatever lands meanwhile.
commit=$(git -C "$top" rev-parse --verify "${1:-HEAD}^{commit}")
jobs=$(nproc)
out=$top/build/pkg-check

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
if [ -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]; then
  echo "note: the package is built from commit ${commit:0:12}; uncommitted changes are not in it"
fi

work=$(mktemp -d /tmp/vorbix-package.XXXXXX)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
git -C "$top" show "$commit:debian/changelog" >"$work/changelog"
version=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
upstream=${version%-*}
# Files newer than the changelog's newest entry get its time in the package; an entry dated
# in the future would leave each build's own file times in it.
if [ "$(dpkg-parsechangelog -l "$work/changelog" -S Timestamp)" -gt "$(date +%s)" ]; then
  echo "FAIL: the newest entry of debian/changelog is dated in the future"; exit 1
fi
arch=$(dpkg --print-architecture)

# The source as released: the commit, and the upstream tarball without debian/.
unpack() { # folder
  mkdir -p "$1"
  git -C "$top" archive --format=tar --prefix="vorbix-$upstream/" "$commit" | tar -x -C "$1"
  git -C "$top" archive --format=tar --prefix="vorbix-$upstream/" "$commit" -- . ':!debian' |
    xz -9 -T1 >"$1/vorbix_$upstream.orig.tar.xz"
}

seconds() { echo $(($(date +%s) - $1)); }

echo "== package: source and binary packages with their tests (dpkg-buildpackage)"
first=$work/first
unpack "$first"
started=$(date +%s)
(cd "$first/vorbix-$upstream" && umask 022 && TZ=UTC dpkg-buildpackage -us -uc -j"$jobs") >"$work/first.log" 2>&1 ||
  { tail -n 80 "$work/first.log"; echo "FAIL: dpkg-buildpackage"; exit 1; }
grep -E '^[0-9]+% tests passed|^Total Test time' "$work/first.log"
echo "built in $(seconds "$started") s: $(cd "$first" && echo ./*.deb ./*.dsc)"

echo "== package: built again elsewhere, later, as someone else, without the tests"
second=$work/second/a/much/longer/path
unpack "$second"
builder=(env USER=vorbix-second LOGNAME=vorbix-second)
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody "$work/second"
  builder=(runuser -u nobody -- env USER=nobody LOGNAME=nobody)
fi
started=$(date +%s)
(cd "$second/vorbix-$upstream" && umask 002 &&
  "${builder[@]}" TZ=Pacific/Chatham DEB_BUILD_OPTIONS="nocheck parallel=$jobs" \
    dpkg-buildpackage -us -uc -b -Pnocheck) >"$work/second.log" 2>&1 ||
  { tail -n 80 "$work/second.log"; echo "FAIL: the second dpkg-buildpackage"; exit 1; }
echo "built in $(seconds "$started") s"
same=0
for deb in "vorbix_${version}_$arch.deb" "vorbix-dbgsym_${version}_$arch.deb"; do
  if cmp "$first/$deb" "$second/$deb"; then
    echo "identical: $deb ($(sha256sum <"$first/$deb" | cut -c1-16))"
  else
    same=1
    if command -v diffoscope >/dev/null; then diffoscope "$first/$deb" "$second/$deb" | head -n 200 || true; fi
  fi
done
[ "$same" -eq 0 ] || { echo "FAIL: the two builds differ"; exit 1; }

echo "== package: lintian"
if lintian --fail-on error,warning --display-info --tag-display-limit 0 \
    "$first/vorbix_${version}_$arch.changes" >"$work/lintian.log" 2>&1; then
  grep -v '^running with root privileges' "$work/lintian.log" || true
  echo "lintian: no error, no warning in the source and the binary package"
else
  cat "$work/lintian.log"; echo "FAIL: lintian"; exit 1
fi

echo "== package: autopkgtest of the installed package"
installed_before=0
dpkg-query -W -f='${Status}' vorbix 2>/dev/null | grep -q 'install ok installed' && installed_before=1
status=0
"${sudo[@]}" autopkgtest --quiet --output-dir "$work/autopkgtest" \
  "$first/vorbix_${version}_$arch.deb" "$first/vorbix_$version.dsc" -- null >"$work/autopkgtest.log" 2>&1 || status=$?
[ "$installed_before" -eq 1 ] || "${sudo[@]}" dpkg --purge vorbix >/dev/null 2>&1 || true
grep -E '^[a-z-]+ +(PASS|FAIL|SKIP|FLAKY)' "$work/autopkgtest.log" || true
[ "$status" -eq 0 ] || { cat "$work/autopkgtest.log"; echo "FAIL: autopkgtest (status $status)"; exit 1; }

echo "== package: the package tests of the source tree"
cmake -S "$first/vorbix-$upstream" -B "$work/tests" -G Ninja -DVORBIX_PACKAGE="$first/vorbix_${version}_$arch.deb" >/dev/null
cmake --build "$work/tests" --target wm_close >/dev/null
ctest --test-dir "$work/tests" --output-on-failure -L package

mkdir -p "$out"
cp "$first"/*.deb "$first"/*.dsc "$first"/*.tar.xz "$first"/*.changes "$first"/*.buildinfo "$out"/
echo "== the package is built, the same twice, lintian-clean and tested: build/pkg-check/vorbix_${version}_$arch.deb"
