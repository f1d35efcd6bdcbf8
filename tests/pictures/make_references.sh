#!/bin/sh
# Renders the reference pictures anew from their scripts: pictures/NAME.txt gives NAME.png,
# and at a scale, NAME.xSCALE.png (seven_styles.x2 gives seven_styles.x2.png, drawn with
# --scale 2). Usage: make_references.sh VORBIX_REPLAY [NAME[.xSCALE]...]. Look at every
# changed picture before keeping it.
set -eu
replay=${1:?usage: make_references.sh VORBIX_REPLAY [NAME[.xSCALE]...]}
shift
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -eq 0 ]; then
    for picture in "$here"/*.png; do set -- "$@" "$(basename "$picture" .png)"; done
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for picture in "$@"; do
    name=${picture%%.x*}
    scale=1
    [ "$name" = "$picture" ] || scale=${picture#*.x}
    "$replay" --png "$work/$picture" --scale "$scale" "$here/$name.txt" > /dev/null
    cp "$work/$picture/dump-0001.png" "$here/$picture.png"
    echo "$here/$picture.png"
done
