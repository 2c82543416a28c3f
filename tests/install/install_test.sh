#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a user would meet it: the
# files a desktop needs are there and valid, the program needs nothing from the build
# tree and starts from a folder it cannot write, and a score saved from that folder
# lands in the per-user data folder.
#
# Run as root (as in CI), the program runs as the user "nobody", for whom the install
# folder is read-only; root itself may write anywhere. Otherwise the folder is made
# read-only for the user running the test.
#
# Usage: install_test.sh <build dir> <installed_save_probe binary>
set -euo pipefail
build=$1 probe=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
echo "installed into $prefix:"
(cd "$prefix" && find . -type f | sort | sed 's/^/  /')

app=io.github.numora.Numora
for f in bin/numora share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
         share/icons/hicolor/scalable/apps/numora.svg; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/numora" ] || fail "bin/numora is not executable"
for size in 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/numora.png
  [ -f "$png" ] || fail "no ${size} px icon"
  # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
                  awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w $h" = "$size $size" ] || fail "the ${size} px icon is ${w}x${h}"
done

desktop=$prefix/share/applications/$app.desktop
desktop-file-validate "$desktop" | grep -v ': hint: ' && fail "desktop-file-validate complains" || true
desktop-file-validate "$desktop" >/dev/null || fail "desktop-file-validate fails"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" ||
  fail "appstreamcli validate fails"
grep -qx 'Exec=numora' "$desktop" || fail "the desktop entry does not start numora"
grep -qx 'Icon=numora' "$desktop" || fail "the desktop entry does not name the installed icon"

# Nothing from the build tree: no missing library, no search path into the build.
ldd "$prefix/bin/numora" | grep -q 'not found' && fail "a library is missing: $(ldd "$prefix/bin/numora" | grep 'not found')"
readelf -d "$prefix/bin/numora" | grep -iE 'rpath|runpath' | grep -qF "$(cd "$build" && pwd)" &&
  fail "the installed program still looks for libraries in the build tree"

cp "$probe" "$prefix/bin/"
home=$tmp/home
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
if [ "$(id -u)" -eq 0 ]; then
  chown -R 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
else
  as_user=()
  chmod a-w "$prefix/bin"
fi
as_user+=(env HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache"
          XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen)
"${as_user[@]}" test -w "$prefix/bin" && fail "the install folder is writable; the test would prove nothing"

# The installed program, started from elsewhere, comes up and stays up.
(cd "$home" && exec "${as_user[@]}" "$prefix/bin/numora" >"$tmp/numora.log" 2>&1) &
pid=$!
sleep 3
if ! kill -0 "$pid" 2>/dev/null; then
  cat "$tmp/numora.log" >&2
  fail "the installed program did not stay up"
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
echo "the installed program ran for 3 s from $home"

# A score saved by the leaderboard window from the installed folder.
saved=$(cd "$home" && "${as_user[@]}" "$prefix/bin/installed_save_probe") || fail "the save failed"
want=$home/.local/share/numora/kavex2.tmp
[ "$saved" = "$want" ] || fail "the score went to $saved, not $want"
iconv -f GB18030 -t UTF-8 "$want" | grep -q '^安装测试,1234' || fail "$want does not hold the score"
ls "$prefix/bin" | grep -q kavex && fail "leaderboard files were left in the install folder"
echo "the score was saved to $saved"
echo "PASS"
