#!/usr/bin/env bash
# Builds the game into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh run
cmake --preset default >/dev/null
cmake --build build --target numora numora_sound_module
exec ./build/numora "$@"
