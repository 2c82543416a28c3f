#!/usr/bin/env bash
# Fuzzes the leaderboard file reader and writer for a given time, then replays everything it
# kept under AddressSanitizer.
#
#   tools/fuzz_leaderboard.sh [seconds] [more libFuzzer options]
#
# seconds: how long to search (default 600; 0 means until another limit, e.g. -runs=N).
# The search build (build-fuzz/) has UndefinedBehaviorSanitizer only, which runs about ten
# times as many inputs as an AddressSanitizer build; the replay in build-asan/ then checks
# memory safety on every input it found interesting. New inputs go to
# build-fuzz/leaderboard-corpus; a finding is written to build-fuzz/ as crash-* or
# timeout-*. Once it is fixed, copy it into tests/forms/leaderboard/fuzz/corpus/ under a
# name that says what it was, so every build replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh test

seconds=${1:-600}
shift || true

cmake --preset asan -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=undefined" >/dev/null
cmake --build build-fuzz --target leaderboard_fuzzer

mkdir -p build-fuzz/leaderboard-corpus
# Inputs longer than 64 KiB add nothing the 1 MB seed does not already show (it is replayed
# whole by ctest) and would slow every mutation; -max_len can be given again to override.
(cd build-fuzz && UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ./tests/leaderboard_fuzzer -max_total_time="$seconds" -timeout=10 \
    -max_len=65536 -rss_limit_mb=2048 -print_final_stats=1 "$@" \
    leaderboard-corpus ../tests/forms/leaderboard/fuzz/corpus)

cmake --preset asan >/dev/null
cmake --build --preset asan --target leaderboard
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 QT_QPA_PLATFORM=offscreen \
  NUMORA_CORPUS="$PWD/build-fuzz/leaderboard-corpus:$PWD/tests/forms/leaderboard/fuzz/corpus" \
  build-asan/tests/leaderboard corpus | tail -n 2
