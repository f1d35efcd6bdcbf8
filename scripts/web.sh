#!/usr/bin/env bash
# Installs what is missing, builds Vorbix for the browser into build/web/site and serves it
# on http://127.0.0.1:8080/. "./scripts/web.sh build" only builds it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"

# Debian's emscripten runs its tools with node and Debian's own node modules.
export NODE_PATH=/usr/share/nodejs
settings=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node)
# The test command passes the native vorbix-replay to compare the browser build with.
[ -n "${VORBIX_NATIVE_REPLAY:-}" ] && settings+=(-DVORBIX_NATIVE_REPLAY="$VORBIX_NATIVE_REPLAY")
emcmake cmake -S "$top" -B "$top/build/web" "${settings[@]}" >/dev/null
cmake --build "$top/build/web"
[ "${1:-}" = build ] && exit 0

echo "Vorbix plays on http://127.0.0.1:8080/ (Ctrl+C stops the server)"
exec /usr/bin/python3 -m http.server 8080 --bind 127.0.0.1 --directory "$top/build/web/site"
