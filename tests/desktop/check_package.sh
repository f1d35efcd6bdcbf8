#!/usr/bin/env bash
# Checks a Debian package built by dpkg-buildpackage: unpacked into a scratch root, it holds
# the programs, the desktop files, the manual pages and the package documents; its control
# fields name the section, the changelog's version (whose upstream part is the version the
# build knows) and the packages loaded at run time; its metainfo's newest release is that
# version; lintian finds no error and no warning in it. The package is then put into
# PACKAGE_DIR, where the menu launch test takes it.
# Usage: check_package.sh DEB PACKAGE_DIR APP_ID CHANGELOG VERSION
set -euo pipefail
deb=$1 package_dir=$2 app_id=$3 changelog=$4 version=$5

# shellcheck source=../support/require.sh
source "$(dirname "$0")/../support/require.sh"
require_tool dpkg-deb dpkg
require_tool dpkg-parsechangelog dpkg-dev
require_tool lintian lintian
[ -f "$deb" ] || { echo "no package at $deb"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
echo "package: $deb"
dpkg-deb -I "$deb"

failed=0
field() { dpkg-deb -f "$deb" "$1"; }
expect_field() { # field, expected value
  local actual; actual=$(field "$1")
  if [ "$actual" != "$2" ]; then echo "$1 is '$actual', expected '$2'"; failed=1; fi
}
package_version=$(dpkg-parsechangelog -l "$changelog" -S Version)
expect_field Package vorbix
expect_field Section games
expect_field Version "$package_version"
expect_field Architecture "$(dpkg --print-architecture)"
[ -n "$(field Maintainer)" ] || { echo "no Maintainer"; failed=1; }
if [ "${package_version%-*}" != "$version" ]; then
  echo "the changelog's version $package_version is not the version the build knows, $version"; failed=1
fi

# Each dependency must be named as a whole package, not merely as part of another name.
depends=",$(field Depends | tr -d ' '),"
for package in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins qt6-wayland \
               fonts-liberation fonts-ebgaramond fonts-dejavu-core fonts-urw-base35; do
  if ! grep -Eq ",$package(\([^)]*\))?," <<<"$depends"; then
    echo "Depends does not name $package"; failed=1
  fi
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
for path in "usr/share/applications/$app_id.desktop" \
            "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
            "usr/share/metainfo/$app_id.metainfo.xml" \
            "usr/share/doc/vorbix/copyright" "usr/share/doc/vorbix/changelog.Debian.gz" \
            "usr/share/man/man6/vorbix.6.gz" "usr/share/man/man6/vorbix-replay.6.gz"; do
  if [ -f "$root/$path" ]; then echo "packaged: /$path"; else echo "not packaged: /$path"; failed=1; fi
done
for program in vorbix vorbix-replay; do
  if [ -f "$root/usr/games/$program" ] && [ -x "$root/usr/games/$program" ]; then
    echo "packaged: /usr/games/$program"
  else
    echo "not packaged or not executable: /usr/games/$program"; failed=1
  fi
done
newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$root/usr/share/metainfo/$app_id.metainfo.xml" | head -n1)
[ "$newest" = "$version" ] || { echo "the packaged metainfo's newest release is '$newest', not $version"; failed=1; }

# Errors and warnings fail; lintian's informational tags do not.
if lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1; then
  echo "lintian: no error, no warning"
else
  cat "$scratch/lintian.log"; echo "lintian found errors or warnings"; failed=1
fi

rm -rf "$package_dir"
mkdir -p "$package_dir"
cp "$deb" "$package_dir/"
exit "$failed"
