#!/usr/bin/env bash
# Builds the game into build/ and starts it; `./run.sh web` builds the web edition into
# build-web/site/ and serves it on 127.0.0.1 (port 8000, or NUMORA_PORT).
set -euo pipefail
cd "$(dirname "$0")"
if [ "${1:-}" = web ]; then
  tools/deps.sh web
  cmake --preset web >/dev/null
  cmake --build --preset web
  port=${NUMORA_PORT:-8000}
  echo "Numora's web edition: http://127.0.0.1:$port/   (Ctrl+C stops it)"
  # Python's server sends .wasm as application/wasm, which the browser requires.
  exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory build-web/site "$port"
fi
tools/deps.sh run
cmake --preset default >/dev/null
cmake --build build --target numora numora_sound_module
exec ./build/numora "$@"
