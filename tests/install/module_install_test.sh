#!/usr/bin/env bash
# Catches an install that leaves out the sound module (a silent game), puts it where the
# program does not look, or leaves out the font's licence, which must travel with it.
# Usage: module_install_test.sh <build dir> <path from bin to the module's folder>
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$1" --prefix "$tmp" >/dev/null
module=$(cd "$tmp/bin/$2" && pwd)/numora-sound-qt.so
[ -f "$module" ] || { echo "FAIL: no sound module at bin/$2" >&2; exit 1; }
nm -D --defined-only "$module" | grep -qw numora_make_sound_player ||
  { echo "FAIL: the module does not export its maker" >&2; exit 1; }
! ldd "$tmp/bin/numora" | grep -q libQt6Multimedia ||
  { echo "FAIL: the program links Qt Multimedia at start" >&2; exit 1; }
grep -q 'SIL OPEN FONT LICENSE Version 1.1' "$tmp/share/doc/numora/numora-serif-sc-OFL.txt" ||
  { echo "FAIL: the font's licence is not installed" >&2; exit 1; }
