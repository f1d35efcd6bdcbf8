#!/bin/sh
# Renders the reference pictures anew from their scripts: pictures/NAME.txt gives NAME.png.
# Usage: make_references.sh VORBIX_REPLAY [NAME...]. Look at every changed picture before
# keeping it.
set -eu
replay=${1:?usage: make_references.sh VORBIX_REPLAY [NAME...]}
shift
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -eq 0 ]; then
    set -- $(cd "$here" && ls *.txt | sed 's/\.txt$//')
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "$@"; do
    "$replay" --png "$work/$name" "$here/$name.txt" > /dev/null
    cp "$work/$name/dump-0001.png" "$here/$name.png"
    echo "$here/$name.png"
done
