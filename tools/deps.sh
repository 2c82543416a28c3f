#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those that are missing.
# Usage: tools/deps.sh run|web|test|bench|package|font   (web: what builds the web edition
# and plays it in headless Chromium, for ./run.sh web, its test and bench/web; test adds what
# the headless tests need, the web edition's included, as ./test.sh builds both; bench what
# bench/run needs, package what makes the Debian package, font what
# resources/fonts/make_subset.py needs)
set -euo pipefail

want=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev
      libgl-dev fonts-noto-cjk fonts-arphic-uming qt6-translations-l10n)
# Debian's python3-selenium lives in /usr/bin/python3, which the scripts name for that reason.
# fonttools and brotli turn the font into WOFF2, which keeps the site under 700 KiB.
web=(emscripten chromium chromium-driver python3 python3-selenium python3-fonttools python3-brotli)
if [ "${1:-run}" = web ]; then
  want=(cmake ninja-build "${web[@]}")
fi
if [ "${1:-run}" = test ]; then
  want+=("${web[@]}" libgtest-dev clang clang-format libclang-rt-dev desktop-file-utils appstream
         dpkg-dev lintian file pulseaudio pulseaudio-utils xvfb xauth openbox mutter dbus-daemon
         xdotool x11-utils imagemagick)
fi
if [ "${1:-run}" = package ]; then
  want+=(dpkg-dev file)
fi
if [ "${1:-run}" = font ]; then
  want+=(python3-fonttools)
fi
if [ "${1:-run}" = bench ]; then
  want+=(pkg-config libxcb-damage0-dev xvfb xdotool imagemagick valgrind)
fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
