#!/usr/bin/env bash
# Builds the Debian package with CPack into BUILD_DIR/package, unpacks it into a scratch
# root and checks its files and its control fields (section, version and the runtime
# packages it depends on), and that lintian finds no error and no warning in it.
# Usage: check_package.sh CPACK BUILD_DIR APP_ID VERSION EXPECT_PROGRAM(0|1)
set -euo pipefail
cpack=$1 build=$2 app_id=$3 version=$4 expect_program=$5

# shellcheck source=../support/require.sh
source "$(dirname "$0")/../support/require.sh"
require_tool dpkg-deb dpkg
if [ ! -f "$build/CPackConfig.cmake" ]; then
  echo "$build/CPackConfig.cmake is missing: the top-level CMakeLists.txt does not include packaging/cpack.cmake"
  exit 1
fi

require_tool lintian lintian

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
rm -rf "$build/package"
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$build/package" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log"; exit 1; }

shopt -s nullglob
packages=("$build"/package/*.deb)
if [ ${#packages[@]} -ne 1 ]; then
  echo "expected one .deb, found ${#packages[@]}"; cat "$scratch/cpack.log"; exit 1
fi
deb=${packages[0]}
echo "built: $(basename "$deb")"
dpkg-deb -I "$deb"

failed=0
field() { dpkg-deb -f "$deb" "$1"; }
expect_field() { # field, expected value
  local actual; actual=$(field "$1")
  if [ "$actual" != "$2" ]; then echo "$1 is '$actual', expected '$2'"; failed=1; fi
}
expect_field Package vorbix
expect_field Section games
expect_field Version "$version-1"
expect_field Architecture "$(dpkg --print-architecture)"
[ -n "$(field Maintainer)" ] || { echo "no Maintainer"; failed=1; }

# Each dependency must be named as a whole package, not merely as part of another name.
depends=",$(field Depends | tr -d ' '),"
for package in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins \
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
            "usr/share/man/man6/vorbix.6.gz" "usr/share/man/man6/vorbix-replay.6.gz" \
            "usr/games/vorbix-replay"; do
  if [ -f "$root/$path" ]; then echo "packaged: /$path"; else echo "not packaged: /$path"; failed=1; fi
done
if [ "$expect_program" = 1 ]; then
  if [ -f "$root/usr/games/vorbix" ] && [ -x "$root/usr/games/vorbix" ]; then
    echo "packaged: /usr/games/vorbix"
  else
    echo "not packaged or not executable: /usr/games/vorbix"; failed=1
  fi
fi

# Errors and warnings fail; lintian's informational tags do not.
if lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1; then
  echo "lintian: no error, no warning"
else
  cat "$scratch/lintian.log"; echo "lintian found errors or warnings"; failed=1
fi
exit "$failed"
