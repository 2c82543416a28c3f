#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test headless: first as the game
# is built (build/), then again built by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/).
# Usage: ./test.sh [ci|asan]   (one of the two only; both when not given)
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh test
for preset in ${1:-ci asan}; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
