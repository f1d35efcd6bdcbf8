#!/usr/bin/env bash
# Builds the libFuzzer target over vorbix-replay's scripts with clang (ASan + UBSan) and runs
# it for a number of seconds: tests/fuzz/run.sh [SECONDS] (60 by default). New inputs go to
# a work folder in the build tree; the seed corpus in tests/fuzz/corpus is only read.
set -euo pipefail

seconds="${1:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
root="${VORBIX_SOURCE:-$(cd "$here/../.." && pwd)}"
build="${VORBIX_FUZZ_BUILD:-$root/build-fuzz}"

if ! command -v clang++ >/dev/null; then
  echo "run.sh: clang++ is missing (Debian packages clang and libclang-rt-14-dev)" >&2
  exit 1
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVORBIX_WITH_QT=OFF -DVORBIX_SANITIZE=ON -DVORBIX_FUZZ=ON >/dev/null
ninja -C "$build" replay_fuzzer

work="$build/fuzz-corpus"
mkdir -p "$work"
# -timeout: a single script that runs for seconds is a hang; -max_len keeps scripts short
# enough that each line's own work decides the time.
"$build/tests/replay_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -print_final_stats=1 "$work" "$here/corpus"
