#!/usr/bin/env bash
# The style gate: fails when clang-format would change a C++ file or clang-tidy finds
# anything in one, when Prettier would change a JavaScript or CSS file or ESLint finds
# anything in one, when ShellCheck finds anything in a shell script or flake8 in a Python
# one. Needs a configured build folder for the compile commands (the first
# argument, build/debug by default), and installs the pinned ESLint and Prettier from the npm
# registry (package-lock.json) into node_modules/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build=${1:-build/debug}

mapfile -t cxx < <(git ls-files -- '*.cpp' '*.h')
echo "== clang-format (${#cxx[@]} files)"
clang-format --dry-run --Werror "${cxx[@]}"

# The libFuzzer target is built only with clang; the web front end only with emscripten. The
# headers of every other room are checked with the files that include them (.clang-tidy's
# HeaderFilterRegex); those of these two on their own.
mapfile -t units < <(printf '%s\n' "${cxx[@]}" | grep '\.cpp$' | grep -v -E '^(tests/fuzz|web)/')
mapfile -t lone_headers < <(printf '%s\n' "${cxx[@]}" | grep '\.h$' | grep -E '^(tests/fuzz|web)/')
echo "== clang-tidy (${#units[@]} files, and ${#lone_headers[@]} headers on their own)"
# Each file alone, two at a time; the summary lines clang prints for every file are dropped.
printf '%s\n' "${units[@]}" "${lone_headers[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy -p "$build" --quiet --warnings-as-errors='*' 2>&1 |
  sed -E '/^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$/d; /^Suppressed [0-9]+ warnings/d; /^Use -header-filter/d'
# Every shell script, by its ending or its first line; .shellcheckrc says how.
mapfile -t shell < <(git ls-files -- '*.sh'; git grep -lE '^#!/(usr/)?bin/(env )?(ba)?sh' -- ':(glob,exclude)**/*.*')
echo "== ShellCheck (${#shell[@]} files)"
shellcheck "${shell[@]}"
# The Python test harness and benchmark scripts; .flake8 says how.
mapfile -t python < <(git ls-files -- '*.py')
echo "== flake8 (${#python[@]} files)"
flake8 "${python[@]}"
echo "== Prettier and ESLint (JavaScript and CSS)"
if ! command -v npm >/dev/null; then
  echo "npm is missing: it comes with Node.js, which the machine has or the nodejs package brings" >&2
  exit 1
fi
npm ci --no-audit --no-fund --loglevel=error >/dev/null
npx --no-install prettier --check "**/*.{js,mjs,css}"
npx --no-install eslint --max-warnings=0 .
echo "== the code keeps its style"
