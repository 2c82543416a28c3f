#!/usr/bin/env bash
# Catches an install a user could not run, and a Debian package (with dpkg-dev) that differs
# from the install or lacks what it needs. Usage: install_test.sh <build dir> <bin to module>
set -euo pipefail
build=$(cd "$1" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
p=$tmp/usr app=io.github.numora.Numora
cmake --install "$build" --prefix "$p" >/dev/null
for f in bin/numora bin/$2/numora-sound-qt.so share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
         share/man/man6/numora.6.gz share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/numora.png; do
  [ -f "$p/$f" ] || fail "$f is not installed"
done
grep -q 'SIL OPEN FONT LICENSE Version 1.1' "$p/share/doc/numora/numora-serif-sc-OFL.txt" || fail "no font licence"
desktop-file-validate "$p/share/applications/$app.desktop" | grep -v ': hint: ' | grep . && fail "desktop-file-validate complains"
appstreamcli validate --no-net "$p/share/metainfo/$app.metainfo.xml" | grep -E '^[EW]:' &&
  fail "appstreamcli validate complains"
ldd "$p/bin/numora" "$p/bin/$2/numora-sound-qt.so" | grep 'not found' && fail "a library is missing"
ldd "$p/bin/numora" | grep -q libQt6Multimedia && fail "the program maps Qt Multimedia at start"
readelf -d "$p/bin/numora" | grep -iE 'rpath|runpath' | grep -F "$build" && fail "it looks for libraries in the build tree"
user=()
if [ "$(id -u)" -eq 0 ]; then user=(setpriv --reuid=65534 --regid=65534 --clear-groups --); else chmod a-w "$p/bin"; fi
rc=0
(cd / && HOME=$tmp timeout 3 "${user[@]}" "$p/bin/numora") >"$tmp/log" 2>&1 || rc=$?
chmod -R u+w "$p"
[ $rc -eq 124 ] || { cat "$tmp/log"; fail "the installed program did not stay up (exit $rc)"; }

command -v dpkg-shlibdeps >/dev/null || { echo "PASS (no dpkg-dev: no package built)"; exit 0; }
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/deb" >"$tmp/cpack.log" || { cat "$tmp/cpack.log"; fail "cpack failed"; }
deb=$(echo "$tmp"/deb/numora_*.deb)
dpkg-deb -I "$deb" control | tee "$tmp/control"
{ (cd "$tmp" && find usr ! -type d | sed 's|^usr/bin/numora$|usr/games/numora|; s|^|./|'); printf './usr/share/doc/numora/%s\n' copyright changelog.gz; } | sort >"$tmp/want"
dpkg-deb -c "$deb" | tee "$tmp/listing" | awk '$1 !~ /^d/ {print $6}' | sort | diff -u "$tmp/want" - || fail "the package and the install differ"
awk '$2 != "root/root"' "$tmp/listing" | grep . && fail "files not owned by root"
grep -qx 'Section: games' "$tmp/control" || fail "the section is not games"
grep -q "^Recommends: fonts-noto-cjk" "$tmp/control" || fail "a CJK font is not recommended"
for dep in libqt6multimedia6 libqt6widgets6 qt6-wayland; do grep '^Depends:' "$tmp/control" | grep -qw "$dep" || fail "Depends lacks $dep"; done
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/games/numora >"$tmp/numora"
readelf -S "$tmp/numora" | grep -qE '\.symtab|\.debug_' && fail "the program is not stripped"
lintian --fail-on error,warning "$deb" || fail "lintian reports an error or a warning"
