#!/usr/bin/env bash
# Tries the project as a new user of a Debian release would, in fresh minimal roots made with
# debootstrap from this machine's own mirror:
#   1. the committed HEAD of this repository, cloned by an ordinary user: ./run.sh must build
#      and start the game (offscreen) and keep it up five seconds, ./run.sh web must build the
#      web edition and serve it on 127.0.0.1, then ./test.sh must pass;
#   2. the Debian package, built here on the host from the same commit, installed with apt
#      into a second fresh root and started there by an ordinary user.
# Needs root, debootstrap (installed when missing) and the network to the mirror; it takes a
# while (whole builds on the machine's cores). Not part of ./test.sh.
# Usage: sudo tools/fresh_root.sh bookworm|trixie    (KEEP=1 keeps the roots for a look)
set -euo pipefail

suite=${1:-}
case $suite in
bookworm | trixie) ;;
*)
  echo "Usage: $0 bookworm|trixie" >&2
  exit 2
  ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot, mount)" >&2; exit 2; }
here=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$here" rev-parse --short HEAD)

# The mirror this machine's apt uses (its main archive, not the security one).
mirror=${MIRROR:-$({ grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}'
                     grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list |
                       tr ' ' '\n' | grep '://'; } | grep -v security | head -n 1 || true)}
[ -n "$mirror" ] || { echo "$0: no Debian mirror found in /etc/apt; set MIRROR" >&2; exit 2; }
command -v debootstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap

work=$(mktemp -d /var/tmp/numora-fresh-"$suite".XXXXXX)
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
  done
  # --one-file-system: never into a mount that failed to come off (the host's /dev).
  if [ "${KEEP:-0}" = 1 ]; then echo "Kept: $work"; else rm -rf --one-file-system "$work"; fi
}
trap cleanup EXIT
trap "exit 130" INT TERM

results=()
failed=0
started=$SECONDS
log() { echo "=== $(date -u +%H:%M:%S) $*"; }
elapsed() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }
# record NAME START STATUS: one line of the summary.
record() {
  local verdict=PASS
  [ "$3" -eq 0 ] || { verdict=FAIL; failed=1; }
  results+=("$(printf '%s  %-58s %s' "$verdict" "$1" "$(elapsed $((SECONDS - $2)))")")
}

# A fresh minimal root with what a new user adds first (sudo, git) and an ordinary user,
# "player", who may use sudo as the first user of a Debian install can.
make_root() {
  local root=$1 fs
  debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 20 "$root.debootstrap.log"; return 1; }
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  # /dev/shm as on an installed system: Chromium (the browser test) cannot start without it.
  for fs in proc sys dev dev/pts dev/shm; do
    case $fs in
    proc) mount -t proc proc "$root/proc" ;;
    sys) mount -t sysfs sysfs "$root/sys" ;;
    *) mount --bind "/$fs" "$root/$fs" ;;
    esac
    mounted+=("$root/$fs")
  done
  chroot "$root" apt-get install -y -qq --no-install-recommends sudo git >/dev/null
  chroot "$root" useradd --create-home --shell /bin/bash --groups sudo player
  echo 'player ALL=(ALL) NOPASSWD: ALL' >"$root/etc/sudoers.d/player"
}

# as_player ROOT COMMAND: runs COMMAND with bash as the user, in their home, offscreen.
as_player() {
  chroot --userspec=player:player "$1" env -i HOME=/home/player USER=player LOGNAME=player \
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/games QT_QPA_PLATFORM=offscreen \
    bash -c "cd ~ && $2"
}

# game_in ROOT: the process id of the game running inside ROOT, if one is.
game_in() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$1" ] || continue
    case $(readlink "$p/exe" 2>/dev/null) in */build/numora) echo "${p#/proc/}" && return ;; esac
  done
}

# up_five_seconds ROOT JOB LOG: while JOB (./run.sh) lives, the game appears in ROOT, once
# built; it must still be up five seconds later, and is then ended.
up_five_seconds() {
  local game=
  while kill -0 "$2" 2>/dev/null && [ -z "$game" ]; do
    sleep 2
    game=$(game_in "$1")
  done
  local up=1
  if [ -n "$game" ]; then
    sleep 5
    kill -0 "$game" 2>/dev/null && up=0
    kill "$game" 2>/dev/null || true
  fi
  wait "$2" 2>/dev/null || true
  [ $up -eq 0 ] || tail -n 30 "$3"
  return $up
}

# site_answers ROOT PORT JOB LOG: while JOB (./run.sh web in ROOT) lives, building first, the
# page and its WebAssembly (as application/wasm, which browsers insist on) come from
# 127.0.0.1:PORT within 20 minutes; the server running in ROOT is then ended.
site_answers() {
  local up=1 deadline=$((SECONDS + 1200)) p
  local site=$1/home/player/numora/build-web/site
  while kill -0 "$3" 2>/dev/null && [ $up -ne 0 ] && [ $SECONDS -lt $deadline ]; do
    sleep 2
    /usr/bin/python3 - "$site" "$2" <<'PY' && up=0
import glob, os, sys, urllib.request
site, port = sys.argv[1], sys.argv[2]
try:
    page = urllib.request.urlopen(f"http://127.0.0.1:{port}/", timeout=5).read().decode()
    wasm = [os.path.basename(p) for p in glob.glob(site + "/*.wasm")]
    kind = urllib.request.urlopen(f"http://127.0.0.1:{port}/{wasm[0]}", timeout=5).headers["Content-Type"]
except Exception:
    sys.exit(1)
sys.exit(0 if "<script" in page and kind == "application/wasm" else 1)
PY
  done
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$1" ] || continue
    tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -q 'http.server' && kill "${p#/proc/}" 2>/dev/null || true
  done
  wait "$3" 2>/dev/null || true
  [ $up -eq 0 ] || tail -n 30 "$4"
  return $up
}

log "Debian $suite from $mirror, commit $commit, in $work"

# 1. The README's two commands in a fresh root.
t=$SECONDS
dev=$work/dev
make_root "$dev"
git -C "$here" -c safe.directory="$here" bundle create "$dev/tmp/numora.bundle" HEAD 2>/dev/null
as_player "$dev" 'git clone -q /tmp/numora.bundle numora 2>/dev/null'
record "a fresh root, with git, sudo and a user" $t 0

log "./run.sh (builds, then the game must stay up 5 s)"
t=$SECONDS
as_player "$dev" 'cd numora && exec ./run.sh' >"$work/run.log" 2>&1 &
rc=0
up_five_seconds "$dev" $! "$work/run.log" || rc=$?
record "./run.sh: the game built, started and stayed up 5 s" $t $rc

log "./run.sh web (builds, then the site must answer on 127.0.0.1)"
t=$SECONDS
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
as_player "$dev" "cd numora && NUMORA_PORT=$port exec ./run.sh web" >"$work/run-web.log" 2>&1 &
rc=0
site_answers "$dev" "$port" $! "$work/run-web.log" || rc=$?
record "./run.sh web: the site built and answered on 127.0.0.1" $t $rc

log "./test.sh"
t=$SECONDS
rc=0
as_player "$dev" 'cd numora && ./test.sh' >"$work/test.log" 2>&1 || rc=$?
grep -E 'tests passed|tests failed' "$work/test.log" || true
[ $rc -eq 0 ] || tail -n 40 "$work/test.log"
record "./test.sh" $t $rc

# 2. The package built on the host, installed into a second fresh root.
log "the package, built on the host"
t=$SECONDS
host=$work/host-src
git -c safe.directory="$here" clone -q --no-hardlinks "$here" "$host" 2>/dev/null
rc=0
(cd "$host" && tools/deps.sh package && cmake --preset package >/dev/null &&
  cmake --build --preset package) >"$work/package.log" 2>&1 || rc=$?
[ $rc -eq 0 ] || tail -n 30 "$work/package.log"
record "the package, built on the host ($(. /etc/os-release && echo "$VERSION_CODENAME"))" $t $rc

if [ $rc -eq 0 ]; then
  log "the package, installed with apt and started"
  t=$SECONDS
  pkg=$work/pkg
  make_root "$pkg"
  cp "$host"/build-deb/numora_*.deb "$pkg/tmp/"
  rc=0
  DEBIAN_FRONTEND=noninteractive chroot "$pkg" bash -c 'apt-get install -y -qq /tmp/numora_*.deb' \
    >"$work/install.log" 2>&1 || { rc=$?; tail -n 30 "$work/install.log"; }
  if [ $rc -eq 0 ]; then
    as_player "$pkg" 'timeout 5 numora' >"$work/installed.log" 2>&1 || rc=$?
    # timeout's 124: the game was still up when the five seconds ran out.
    if [ $rc -eq 124 ]; then rc=0; else cat "$work/installed.log"; fi
  fi
  record "the package: apt installed it, the game stayed up 5 s" $t $rc
fi

echo
echo "Debian $suite, commit $commit, $(date -u '+%Y-%m-%d %H:%M') UTC:"
printf '%s\n' "${results[@]}"
echo "total $(elapsed $((SECONDS - started)))"
if [ $failed -eq 0 ]; then echo "PASS $suite"; else echo "FAIL $suite"; fi
exit $failed
