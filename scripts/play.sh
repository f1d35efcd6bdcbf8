#!/usr/bin/env bash
# Installs what is missing, builds Vorbix in Release and starts the game.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$top/build/release"
exec "$top/build/release/programs/vorbix"
