#!/usr/bin/env bash
# Builds the Debian package from a build and checks it against what the install puts:
# the same files under /usr (the program in /usr/games, as Debian keeps games) plus the
# Debian licence and changelog, owned by root with plain modes, the name and fields apt
# needs, and the run-time pieces no ELF header names.
# Usage: package_test.sh <build dir>
set -euo pipefail
build=$(cd "$1" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$tmp/numora_${version}_$(dpkg --print-architecture).deb
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" || { cat "$tmp/cpack.log"; fail "cpack failed"; }
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$tmp")"
dpkg-deb -I "$deb" control | tee "$tmp/control"

# Every file the install puts, at the same place under /usr, and only the Debian docs beside.
cmake --install "$build" --prefix "$tmp/inst" >/dev/null
(cd "$tmp/inst" && find . ! -type d | sed 's|^\./bin/|./games/|; s|^\.|./usr|') >"$tmp/want"
printf '%s\n' ./usr/share/doc/numora/copyright ./usr/share/doc/numora/changelog.gz >>"$tmp/want"
dpkg-deb -c "$deb" | tee "$tmp/listing" | awk '$1 !~ /^d/ {print $6}' | sort >"$tmp/got"
diff -u <(sort "$tmp/want") "$tmp/got" || fail "the package and the install differ (- install, + package)"
awk '$2 != "root/root" || ($1 !~ /^-rw-r--r--$|^-rwxr-xr-x$|^drwxr-xr-x$/)' "$tmp/listing" | grep . &&
  fail "files not owned by root or with unusual modes" || true

field() { sed -n "s/^ *$1: //p" "$tmp/control"; }
[ "$(field Package)" = numora ] && [ "$(field Version)" = "$version" ] || fail "name or version"
[ "$(field Section)" = games ] || fail "the section is not games"
for dep in libqt6multimedia6 libqt6widgets6 qt6-wayland fonts-noto-cjk; do
  field Depends | grep -q "\b$dep\b" || fail "Depends lacks $dep"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/games/numora >"$tmp/numora"
readelf -S "$tmp/numora" | grep -qE '\.symtab|\.debug_' && fail "the program is not stripped"
if command -v lintian >/dev/null; then lintian --fail-on error "$deb" || fail "lintian reports an error"; fi
echo PASS
