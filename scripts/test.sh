#!/usr/bin/env bash
# Installs what is missing, builds Vorbix and runs the whole test suite: once in a plain
# debug build with warnings as errors, then the style checks, then the browser build and its
# tests, then the suite again under AddressSanitizer and UBSan, built with CMake's default
# generator (Makefiles) so that both generators stay in use.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"

jobs=$(nproc)
run_suite() {
  local dir=$1 generator=$2; shift 2
  cmake -S "$top" -B "$dir" -G "$generator" -DCMAKE_BUILD_TYPE=Debug -DVORBIX_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== debug build"
run_suite "$top/build/debug" Ninja
echo "== style (clang-format, clang-tidy, Prettier, ESLint, ShellCheck, flake8)"
"$top/scripts/check-style.sh" "$top/build/debug"
echo "== browser build (WebAssembly) and its tests in Chromium, Firefox and WebKit, side by side"
VORBIX_NATIVE_REPLAY="$top/build/debug/programs/vorbix-replay" "$top/scripts/web.sh" build
# Firefox is driven by the pinned puppeteer-core, which the style check's npm ci installed.
[ -d "$top/node_modules/puppeteer-core" ] || (cd "$top" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
ctest --test-dir "$top/build/web" --output-on-failure -j "$jobs"
echo "== sanitizer build (address, undefined, leak), with Makefiles"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0 \
  run_suite "$top/build/asan-make" "Unix Makefiles" -DVORBIX_SANITIZE=ON
echo "== Debian package (built twice and compared, lintian, autopkgtest)"
"$top/scripts/check-package.sh"
echo "== replay script fuzzing (libFuzzer, 60 s)"
VORBIX_FUZZ_BUILD="$top/build/fuzz" "$top/tests/fuzz/run.sh" 60
echo "== every suite passed"
