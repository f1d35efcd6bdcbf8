#!/usr/bin/env bash
# Builds the Debian package with CPack, unpacks it into a scratch root and checks its
# files and its control fields: section, version and the runtime packages it depends on.
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

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log"; exit 1; }

shopt -s nullglob
packages=("$scratch"/out/*.deb)
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
            "usr/share/doc/vorbix/copyright"; do
  if [ -f "$root/$path" ]; then echo "packaged: /$path"; else echo "not packaged: /$path"; failed=1; fi
done
if [ "$expect_program" = 1 ]; then
  if [ -f "$root/usr/bin/vorbix" ] && [ -x "$root/usr/bin/vorbix" ]; then
    echo "packaged: /usr/bin/vorbix"
  else
    echo "not packaged or not executable: /usr/bin/vorbix"; failed=1
  fi
fi
exit "$failed"
