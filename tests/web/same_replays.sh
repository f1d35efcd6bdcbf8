#!/usr/bin/env bash
# vorbix-replay compiled to WebAssembly prints, byte for byte, what the native program prints,
# with the same exit status, on every fixed replay and on random whole games, and fails as it
# does on a folder, a line too long and output that cannot be written; and it refuses --png
# with status 2 and says so.
#   same_replays.sh NATIVE_REPLAY WASM_REPLAY_JS SOURCE_DIR
set -euo pipefail
native=$1 wasm=$2 source=$3
# shellcheck source=../support/require.sh
source "$source/tests/support/require.sh"
require_tool node nodejs

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 "$source/tests/web/random_scripts.py" "$work/random" 40 2024
printf 'answer no\nstart\ndump\nkey 65536\ndump\n' >"$work/faulty.txt"
# A recording of an hour's size: 3 MB of ticks and keys.
{ printf 'answer no\nrandom 0.5\nstart\n'
  for _ in $(seq 50000); do printf 'tick 2\ntick 1\nkey 37\ntick 1\nkey 65\ntick 1\nkey 39\nkey 40\ntick 3\n'; done
  echo dump; } >"$work/hour.txt"

failed=0 compared=0
for script in "$source"/tests/replay/*.txt "$source"/tests/pictures/*.txt "$source"/tests/fuzz/corpus/*.txt \
              "$work"/random/*.txt "$work/faulty.txt" "$work/hour.txt"; do
  "$native" "$script" >"$work/native.out" 2>"$work/native.err" && native_status=0 || native_status=$?
  node "$wasm" "$script" >"$work/wasm.out" 2>"$work/wasm.err" && wasm_status=0 || wasm_status=$?
  compared=$((compared + 1))
  if ((native_status != wasm_status)) || ! cmp -s "$work/native.out" "$work/wasm.out" ||
     ! cmp -s "$work/native.err" "$work/wasm.err"; then
    echo "differs: $script (status $native_status against $wasm_status)"
    failed=1
  fi
done
# The same failures to read and write, said the same way with the same status.
mkdir "$work/folder"
head -c 9000000 /dev/zero | tr '\0' k >"$work/long.txt"
for case in "$work/folder" "$work/long.txt" "$source/tests/replay/normal_game.txt >/dev/full"; do
  native_status=0 wasm_status=0
  eval "\"$native\" $case" 2>"$work/native.err" >/dev/null || native_status=$?
  eval "node \"$wasm\" $case" 2>"$work/wasm.err" >/dev/null || wasm_status=$?
  compared=$((compared + 1))
  if ((native_status != wasm_status || native_status == 0)) || ! cmp -s "$work/native.err" "$work/wasm.err"; then
    echo "differs or succeeds: $case (status $native_status against $wasm_status)"
    failed=1
  fi
done
# The same output read from standard input.
node "$wasm" <"$source/tests/replay/normal_game.txt" >"$work/wasm.out"
"$native" "$source/tests/replay/normal_game.txt" | cmp -s - "$work/wasm.out" || { echo "differs: standard input"; failed=1; }
if node "$wasm" --png "$work/pictures" "$source/tests/replay/normal_game.txt" >/dev/null 2>"$work/png.err"; then
  echo "--png was not refused"; failed=1
elif [ $? -ne 2 ] || ! grep -q "built without Qt" "$work/png.err"; then
  echo "--png refused without status 2 and a message: $(cat "$work/png.err")"; failed=1
fi
echo "compared $((compared + 1)) scripts"
exit "$failed"
