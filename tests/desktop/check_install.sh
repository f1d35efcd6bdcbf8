#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the program, its menu entry,
# its icon and its metainfo (as the build wrote it, with its releases) land where a desktop
# looks for them, unchanged, and (with appstreamcli) that the installed metainfo finds its
# menu entry.
# Usage: check_install.sh CMAKE BUILD_DIR APP_ID DATA_DIR METAINFO EXPECT_PROGRAM(0|1)
set -euo pipefail
cmake=$1 build=$2 app_id=$3 data=$4 metainfo=$5 expect_program=$6

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

failed=0
expect_copy() { # installed file, source file
  if [ ! -f "$1" ]; then
    echo "missing: ${1#"$prefix"/}"; failed=1
  elif ! cmp -s "$1" "$2"; then
    echo "differs from ${2}: ${1#"$prefix"/}"; failed=1
  else
    echo "installed: ${1#"$prefix"/}"
  fi
}
expect_copy "$prefix/share/applications/$app_id.desktop" "$data/$app_id.desktop"
expect_copy "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" "$data/$app_id.svg"
expect_copy "$prefix/share/metainfo/$app_id.metainfo.xml" "$metainfo"
for page in vorbix vorbix-replay; do
  if gzip -dc "$prefix/share/man/man6/$page.6.gz" | cmp -s - "$data/man/$page.6"; then
    echo "installed: share/man/man6/$page.6.gz"
  else
    echo "missing or differs: share/man/man6/$page.6.gz"; failed=1
  fi
done

if [ "$expect_program" = 1 ]; then
  for program in vorbix vorbix-replay; do
    if [ -x "$prefix/games/$program" ] && [ -f "$prefix/games/$program" ]; then
      echo "installed: games/$program"
    else
      echo "missing or not executable: games/$program"; failed=1
    fi
  done
fi

if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --no-net "$scratch" || failed=1
else
  echo "appstreamcli not found: the installed tree was not cross-checked"
fi
exit "$failed"
