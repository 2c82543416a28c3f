#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test headless: first as the game
# is built (build/), then again built by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/), then the web edition with emscripten, played in
# headless Chromium (build-web/).
# Usage: ./test.sh [ci|asan|web]   (one of them only; all three when not given)
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh test
# Every C++ file as clang-format leaves it with the project's .clang-format: a line of test means
# what a line of code means, and a diff shows changes, not reflowing.
find src tests bench tools resources \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run -Werror --style=file ||
  { echo "Not formatted: run clang-format -i on the files above." >&2; exit 1; }
for preset in ${1:-ci asan web}; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
