#!/usr/bin/env bash
# The game's real windows as a native Wayland client, run by hand (not part of the tests):
# first on sway (headless, software rendering), where the compositor draws the title bars,
# then on weston inside an Xvfb, where Qt draws its own. Each step prints one line,
# OK, FAIL or NOTE, and the screenshots go to the folder given (default /tmp/wayland-check).
#   sway:   the app id of each window and whether it floats; the help opened from
#           帮助 > 玩法 lies over the game; after a click on the game, which window sway
#           focuses and keeps on top, and whether the help is still seen (a white pixel in
#           its lower middle); the arrows move the falling pair once the help is closed; the
#           leaderboard takes the keyboard and the typed name; nothing on stderr.
#   weston: which buttons Qt's own title bars draw on the three windows, and whether a
#           click on a fixed window's maximise button changes its size.
# Usage (as root: sway refuses root, so the script runs itself again as the user wmuser,
# made if missing):  tools/wayland_check.sh [folder]    DRIVER=<desktop_driver> to choose
# the program (default build/tests/desktop_driver; cmake --build build --target desktop_driver).
# Needs the Debian packages sway, qt6-wayland, wtype, grim, weston, xvfb, xdotool,
# imagemagick and wayvnc (a headless sway has no pointer: wayvnc adds a virtual one, so the
# clicks reach the program); it installs none of them.
# Exit status: 0 when no step failed, 1 otherwise, 2 when it could not run.
set -uo pipefail
out=${1:-/tmp/wayland-check}
here=$(cd "$(dirname "$0")" && pwd)
driver=${DRIVER:-$here/../build/tests/desktop_driver}
user=wmuser

if [ "$(id -u)" = 0 ]; then
  missing=()
  for pair in sway:sway swaymsg:sway wtype:wtype grim:grim weston:weston Xvfb:xvfb \
              xdotool:xdotool convert:imagemagick import:imagemagick wayvnc:wayvnc python3:python3; do
    command -v "${pair%%:*}" >/dev/null || missing+=("${pair#*:}")
  done
  [ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
    ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 || missing+=(qt6-wayland)
  if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL missing Debian packages: apt-get install ${missing[*]}"; exit 2
  fi
  [ -x "$driver" ] || { echo "FAIL no $driver: cmake --build build --target desktop_driver"; exit 2; }
  id "$user" >/dev/null 2>&1 || useradd -m -s /bin/bash "$user" || exit 2
  mkdir -p "$out" && chown "$user" "$out" || exit 2
  driver=$(readlink -f "$driver")
  runuser -u "$user" -- test -x "$driver" || { echo "FAIL $user cannot run $driver"; exit 2; }
  exec runuser -u "$user" -- env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$(getent passwd "$user" | cut -d: -f6)" \
    USER="$user" LANG=C.UTF-8 DRIVER="$driver" bash "$here/$(basename "$0")" "$out"
fi

mkdir -p "$out" || exit 2
rm -f "$out"/sway-* "$out"/weston-* # no picture left from an earlier run
failures=0
ok() { echo "OK $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
note() { echo "NOTE $*"; }
check() { # check <condition status> <text>
  if [ "$1" = 0 ]; then ok "$2"; else fail "$2"; fi
}
tmp=$(mktemp -d)
# A session bus of its own for each run of the program, ended with it: without one, Qt's
# D-Bus autolaunch leaves a dbus-daemon behind.
bus=
command -v dbus-run-session >/dev/null && bus=dbus-run-session
# Ends a run of the program still going: dbus-run-session's children (the bus and the
# program), then dbus-run-session itself.
stop() { pkill -P "$1" 2>/dev/null; kill "$1" 2>/dev/null; wait "$1" 2>/dev/null; }
stop_all() { local j; for j in $(jobs -p); do pkill -P "$j" 2>/dev/null; kill "$j" 2>/dev/null; done; wait 2>/dev/null; }
cleanup() { stop_all; rm -rf "$tmp"; }
trap cleanup EXIT

ask() { echo "$1" >&3; answer=; read -r -t 10 answer <&4 || answer="(no answer to $1)"; echo "$answer"; }
field() { sed -n "s/.*$1=\([^ ]*\).*/\1/p" <<<"$2"; }
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info: 2>/dev/null; }
white() { case $1 in white | "srgb(255,255,255)" | "srgba(255,255,255,1)") return 0 ;; esac; return 1; }

# ---------------------------------------------------------------- sway
# One line per view of `swaymsg -t get_tree`: title, app id, floating, the content's
# rectangle on the output (x y w h), focused, and its rank among the floating windows
# (higher is drawn later, so over the others).
views() {
  swaymsg -t get_tree -r | python3 -c '
import json, sys
rank = 0
def walk(n, floating):
    global rank
    if n.get("pid"):
        r, w = n["rect"], n["window_rect"]
        rank += 1
        print("\t".join(str(v) for v in (n.get("name"), n.get("app_id"), floating,
              r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"],
              n.get("focused"), rank if floating else 0, n.get("id"))))
    for c in n.get("nodes", []): walk(c, floating)
    for c in n.get("floating_nodes", []): walk(c, True)
walk(json.load(sys.stdin), False)'
}
view() { views | awk -F'\t' -v t="$1" '$1 == t'; } # the view titled $1, if any
col() { cut -f"$2" <<<"$1"; }

sway_click() { # x y on the output
  swaymsg "seat - cursor set $1 $2" >/dev/null
  swaymsg "seat - cursor press button1" >/dev/null
  swaymsg "seat - cursor release button1" >/dev/null
}

sway_part() {
  export XDG_RUNTIME_DIR=$tmp/sway-run
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1
  unset WAYLAND_DISPLAY DISPLAY
  cat >"$tmp/sway.conf" <<'CFG'
output HEADLESS-1 resolution 1024x768 position 0 0 bg #404040 solid_color
default_border normal
CFG
  sway -c "$tmp/sway.conf" >"$out/sway.log" 2>&1 &
  for _ in $(seq 100); do ls "$XDG_RUNTIME_DIR"/wayland-? >/dev/null 2>&1 && break; sleep 0.1; done
  WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-? 2>/dev/null | head -1)")
  SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.* 2>/dev/null | head -1)
  export WAYLAND_DISPLAY SWAYSOCK
  for _ in $(seq 50); do swaymsg -t get_version >/dev/null 2>&1 && break; sleep 0.1; done
  swaymsg -t get_version >/dev/null 2>&1 || { fail "sway: did not start (see $out/sway.log)"; return; }
  note "sway: $(swaymsg -t get_version -r | python3 -c 'import json,sys; print(json.load(sys.stdin)["human_readable"])'), headless 1024x768, pixman"
  # One keyboard for the whole run (each wtype call alone adds and removes one), and a
  # pointer: a headless sway has none, so without wayvnc's virtual pointer the seat offers
  # no wl_pointer and sway's cursor clicks never reach the program.
  wtype -s 100000000 >/dev/null 2>&1 &
  wayvnc -u "$tmp/vnc.sock" >"$out/wayvnc.log" 2>&1 &
  for _ in $(seq 50); do
    swaymsg -t get_seats -r | grep -q '"pointer"' && break; sleep 0.1
  done
  swaymsg -t get_seats -r | grep -q '"pointer"' || fail "sway: the seat has no pointer (wayvnc: $out/wayvnc.log)"
  rm -f "$tmp/in" "$tmp/out"; mkfifo "$tmp/in" "$tmp/out"
  QT_QPA_PLATFORM=wayland $bus "$DRIVER" <"$tmp/in" >"$tmp/out" 2>"$out/sway-stderr.txt" &
  local driver_pid=$!
  exec 3>"$tmp/in" 4<"$tmp/out"
  for _ in $(seq 100); do [ -n "$(view Numora)" ] && break; sleep 0.1; done
  sleep 1
  local main help list where state st
  main=$(view Numora)
  [ -n "$main" ] || { fail "sway 1: no window titled Numora"; views; return; }

  # 1. app id, floating
  [ "$(col "$main" 2)" = io.github.numora.Numora ]; st=$?
  check $st "sway 1: the game's app_id is $(col "$main" 2) (want io.github.numora.Numora)"
  [ "$(col "$main" 3)" = True ]; st=$?
  check $st "sway 1: the game floats: $(col "$main" 3), content $(col "$main" 6)x$(col "$main" 7) at $(col "$main" 4),$(col "$main" 5)"
  state=$(ask state)
  local pair0; pair0=$(field pair "$state")
  note "sway 1: state at start: $state"

  # 2. 帮助 > 玩法
  where=$(ask where)
  local menu mx my
  menu=$(field menu "$where")
  mx=$(( $(col "$main" 4) + ${menu%,*} )) my=$(( $(col "$main" 5) + ${menu#*,} ))
  sway_click "$mx" "$my"; sleep 0.7
  wtype -k Down; sleep 0.2; wtype -k Return; sleep 1.2
  help=$(view 玩法) main=$(view Numora)
  if [ -z "$help" ] || [ "$(field help "$(ask where)")" = 0x- ]; then
    fail "sway 2: a click on 帮助 at $mx,$my ($menu in the game window) then Down, Return opened no help"
    grim "$out/sway-2-no-help.png"; views; return
  fi
  grim "$out/sway-2-help.png"
  local hx hy hw hh gx gy gw gh
  read -r hx hy hw hh < <(cut -f4-7 <<<"$help" | tr '\t' ' ')
  read -r gx gy gw gh < <(cut -f4-7 <<<"$main" | tr '\t' ' ')
  game_w=$gw game_h=$gh # the content's size, for weston
  [ "$(col "$help" 2)" = io.github.numora.Numora ]; st=$?
  check $st "sway 2: the help's app_id is $(col "$help" 2), floating $(col "$help" 3)"
  [ "$hx" -ge "$gx" ] && [ "$hy" -ge "$gy" ] && [ $((hx + hw)) -le $((gx + gw)) ] && [ $((hy + hh)) -le $((gy + gh)) ]; st=$?
  check $st "sway 2: the help ${hw}x${hh} at $hx,$hy lies within the game ${gw}x${gh} at $gx,$gy (screenshot sway-2-help.png)"
  [ "$(col "$help" 9)" -gt "$(col "$main" 9)" ] && [ "$(col "$help" 8)" = True ]; st=$?
  check $st "sway 2: the help is focused ($(col "$help" 8)) and drawn over the game (floating rank $(col "$help" 9) over $(col "$main" 9))"
  local px=$((hx + hw / 2)) py=$((hy + hh * 9 / 10)) p
  p=$(pixel "$out/sway-2-help.png" $px $py)
  white "$p"; st=$?
  check $st "sway 2: the pixel at the help's lower middle ($px,$py) is $p (white: the help is seen)"

  # 3. a click on the game beside the help
  local cx=$((gx + 30)) cy=$((gy + gh - 40))
  if [ $cx -ge $hx ] && [ $cx -lt $((hx + hw)) ] && [ $cy -ge $hy ] && [ $cy -lt $((hy + hh)) ]; then
    note "sway 3: the click point $cx,$cy is on the help"
  fi
  sway_click $cx $cy; sleep 1
  grim "$out/sway-3-after-click.png"
  help=$(view 玩法) main=$(view Numora)
  note "sway 3: after a click on the game at $cx,$cy: focused: game $(col "$main" 8), help $(col "$help" 8); floating rank game $(col "$main" 9), help $(col "$help" 9) (higher is on top)"
  [ "$(col "$help" 9)" -gt "$(col "$main" 9)" ]; st=$?
  check $st "sway 3: the help stays on top of the game in sway's tree"
  p=$(pixel "$out/sway-3-after-click.png" $px $py)
  white "$p"; st=$?
  check $st "sway 3: the pixel at the help's lower middle ($px,$py) is $p (white: the help is still seen; screenshot sway-3-after-click.png)"

  # 4. the help closed, then Left
  swaymsg "[con_id=$(col "$help" 10)] kill" >/dev/null; sleep 1
  help=$(view 玩法)
  [ -z "$help" ] && [ "$(field help "$(ask where)")" = 0x- ]; st=$?
  check $st "sway 4: swaymsg kill on the help closed it"
  main=$(view Numora)
  note "sway 4: the game is focused in sway: $(col "$main" 8)"
  wtype -k Left; sleep 0.6
  state=$(ask state)
  [ "$(field focus "$state")" = Pict ] && [ "$(field pair "$state")" = $((pair0 - 51)) ]; st=$?
  check $st "sway 4: after Left: $state (want focus=Pict pair=$((pair0 - 51)))"
  grim "$out/sway-4-help-closed.png"

  # 5. the leaderboard
  ask end >/dev/null; sleep 1.5
  list=$(view 排行榜)
  if [ -z "$list" ]; then
    fail "sway 5: no leaderboard window (排行榜) after end"; views
  else
    [ "$(col "$list" 2)" = io.github.numora.Numora ]; st=$?
    check $st "sway 5: the leaderboard's app_id is $(col "$list" 2), floating $(col "$list" 3)"
    [ "$(col "$list" 8)" = True ]; st=$?
    check $st "sway 5: the leaderboard is focused in sway"
    wtype Bo; sleep 0.6
    state=$(ask state)
    [ "$(field focus "$state") $(field name "$state")" = "Text1 Bo" ]; st=$?
    check $st "sway 5: typed Bo: $state (want focus=Text1 name=Bo)"
  fi
  grim "$out/sway-5-leaderboard.png"

  # 6. stderr
  exec 3>&- 4<&-
  for _ in $(seq 50); do kill -0 $driver_pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $driver_pid 2>/dev/null && { fail "sway 6: the program did not quit on an empty line"; stop $driver_pid; }
  wait $driver_pid 2>/dev/null
  [ ! -s "$out/sway-stderr.txt" ]; st=$?
  check $st "sway 6: the program's stderr has $(wc -c <"$out/sway-stderr.txt") bytes$( [ -s "$out/sway-stderr.txt" ] && echo ": $(head -c 300 "$out/sway-stderr.txt" | tr '\n' '|')")"
  stop_all
}

# ---------------------------------------------------------------- weston
# weston 10 with its x11 backend inside an Xvfb: weston offers no server-side decorations,
# so Qt draws its own title bars. xdotool drives weston's pointer through the X window.
# Screenshots with weston's pointer parked in the output's lower right corner, where no
# window lies, so that two pictures differ by the windows alone.
park() { xdotool mousemove 1060 810; sleep 0.15; xdotool mousemove 1010 745; sleep 0.2; }
xshot() { park; import -window root -crop 1024x768+0+0 +repage "$1" 2>/dev/null; }
# Pictures compared as raw RGB, 1024x768:
#   image diff A B [x y w h]  the box "x y w h" around the pixels where A and B differ,
#                             leaving out the region given ("0 0 0 0" when none differ)
#   image area A R G B N [x y w h]  the box around the rows that hold N pixels or more of
#                             colour R,G,B side by side, leaving out the region given
#   image marks A x y         how many pixels of the 13x13 square centred on x,y stand out
#                             from its commonest colour (a drawn button's lines)
image() {
  python3 - "$@" <<'PY'
import subprocess, sys
W, H = 1024, 768
def load(f):
    return subprocess.run(["convert", f, "-depth", "8", "rgb:-"], capture_output=True).stdout
if sys.argv[1] == "diff":
    a, b = load(sys.argv[2]), load(sys.argv[3])
    ex = list(map(int, sys.argv[4:8])) if len(sys.argv) > 7 else [0, 0, 0, 0]
    xs, ys = [], []
    for y in range(H):
        ra, rb = a[3 * W * y:3 * W * (y + 1)], b[3 * W * y:3 * W * (y + 1)]
        if ra == rb: continue
        for x in range(W):
            if ra[3 * x:3 * x + 3] != rb[3 * x:3 * x + 3] and not (
                    ex[0] <= x < ex[0] + ex[2] and ex[1] <= y < ex[1] + ex[3]):
                xs.append(x); ys.append(y)
    print(f"{min(xs)} {min(ys)} {max(xs) - min(xs) + 1} {max(ys) - min(ys) + 1}" if xs else "0 0 0 0")
elif sys.argv[1] == "area":
    a = load(sys.argv[2]); colour = bytes(int(sys.argv[i]) for i in (3, 4, 5)); least = int(sys.argv[6])
    ex = list(map(int, sys.argv[7:11])) if len(sys.argv) > 10 else [0, 0, 0, 0]
    rows = []
    for y in range(H):
        run = best = 0; start = end = 0
        for x in range(W):
            inside = ex[0] <= x < ex[0] + ex[2] and ex[1] <= y < ex[1] + ex[3]
            run = run + 1 if a[3 * (W * y + x):3 * (W * y + x) + 3] == colour and not inside else 0
            if run > best: best, end = run, x
        if best >= least: rows.append((y, end - best + 1, end))
    if rows:
        x0, x1 = min(r[1] for r in rows), max(r[2] for r in rows)
        print(f"{x0} {rows[0][0]} {x1 - x0 + 1} {rows[-1][0] - rows[0][0] + 1}")
    else:
        print("0 0 0 0")
elif sys.argv[1] == "marks":
    a = load(sys.argv[2]); cx, cy = int(sys.argv[3]), int(sys.argv[4])
    square = [a[3 * (W * y + x):3 * (W * y + x) + 3] for y in range(cy - 6, cy + 7)
              for x in range(cx - 6, cx + 7) if 0 <= x < W and 0 <= y < H]
    ground = max(set(square), key=square.count)
    print(sum(1 for p in square if sum(abs(p[i] - ground[i]) for i in range(3)) > 120))
PY
}
# weston's x11 backend moves its pointer by the X pointer's steps from where it entered the
# window, so a click leaves the window (the X screen is larger) and enters it at the point.
xclick() {
  xdotool mousemove 1060 810; sleep 0.2; xdotool mousemove "$1" "$2"; sleep 0.3
  xdotool click 1
}
# Which of Qt's title bar buttons are drawn on the frame "x y w h": the slots of minimise,
# maximise and close, from the right (Qt 6.4's default decoration, 23 px apart).
buttons() {
  local img=$1 x=$2 y=$3 w=$4 drawn=() i names=(close maximise minimise)
  for i in 2 1 0; do
    [ "$(image marks "$img" $((x + w - 16 - 23 * i)) $((y + 15)))" -gt 5 ] && drawn+=("${names[$i]}")
  done
  echo "${drawn[*]:-none}"
}

# Starts the program (number $1) on weston and finds the game's frame, the only window:
# sets driver_pid and fx fy fw fh.
weston_driver() {
  rm -f "$tmp/in" "$tmp/out"; mkfifo "$tmp/in" "$tmp/out"
  QT_QPA_PLATFORM=wayland $bus "$DRIVER" <"$tmp/in" >"$tmp/out" 2>"$out/weston-stderr-$1.txt" &
  driver_pid=$!
  exec 3>"$tmp/in" 4<"$tmp/out"
  for _ in $(seq 100); do
    xshot "$tmp/now.png"; [ "$(image diff "$tmp/empty.png" "$tmp/now.png")" != "0 0 0 0" ] && break; sleep 0.1
  done
  sleep 1.5
  xshot "$tmp/game.png"
  read -r fx fy fw fh < <(image diff "$tmp/empty.png" "$tmp/game.png")
}
weston_quit() { # ends the program and reports its stderr
  exec 3>&- 4<&-
  for _ in $(seq 50); do kill -0 $driver_pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $driver_pid 2>/dev/null && { fail "weston $2: the program did not quit on an empty line"; stop $driver_pid; }
  wait $driver_pid 2>/dev/null
  local f=$out/weston-stderr-$1.txt st
  [ ! -s "$f" ]; st=$?
  check $st "weston $2: the program's stderr (run $1) has $(wc -c <"$f") bytes$( [ -s "$f" ] && echo ": $(head -c 300 "$f" | tr '\n' '|')")"
}

weston_part() {
  local d=$((40 + RANDOM % 50))
  while [ -e /tmp/.X11-unix/X$d ]; do d=$((d + 1)); done
  export DISPLAY=:$d
  Xvfb "$DISPLAY" -screen 0 1100x850x24 -nolisten tcp >/dev/null 2>&1 &
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
  export XDG_RUNTIME_DIR=$tmp/weston-run
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  unset WAYLAND_DISPLAY SWAYSOCK
  cat >"$tmp/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff404040
panel-position=none
INI
  weston --config="$tmp/weston.ini" --backend=x11-backend.so --use-pixman --width=1024 --height=768 \
    --socket=wayland-w >"$out/weston.log" 2>&1 &
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-w" ] && break; sleep 0.1; done
  [ -S "$XDG_RUNTIME_DIR/wayland-w" ] || { fail "weston: did not start (see $out/weston.log)"; return; }
  export WAYLAND_DISPLAY=wayland-w
  note "weston: $(weston --version 2>&1), x11 backend in Xvfb $DISPLAY, pixman; Qt draws the title bars"
  sleep 1.5
  xshot "$tmp/empty.png"
  local fx fy fw fh driver_pid where menu hx=0 hy=0 hw=0 hh=0 lx ly lw lh st f2 bx by

  # 1. the game alone
  weston_driver 1
  cp "$tmp/game.png" "$out/weston-1-game.png"
  if [ "$fw" = 0 ]; then fail "weston 1: no game window seen (weston-1-game.png)"; return; fi
  [ $fw -gt "${game_w:-0}" ]; st=$?
  check $st "weston 1: the game's frame, Qt's title bar included, is ${fw}x${fh} at $fx,$fy; Qt draws: $(buttons "$out/weston-1-game.png" $fx $fy $fw) (weston-1-game.png)"

  # 2. 帮助 > 玩法: Qt's frame has 3 px sides and bottom, so the content starts 3 px in from
  # the frame's left and ends 3 px above its bottom; the content is as tall as on sway.
  where=$(ask where) menu=$(field menu "$where")
  local top=$((fh - 3 - ${game_h:-$((fh - 33))}))
  xclick $((fx + 3 + ${menu%,*})) $((fy + top + ${menu#*,})); sleep 0.5
  xdotool key Down; sleep 0.2; xdotool key Return; sleep 1.5
  xshot "$out/weston-2-help.png"
  if [ "$(field help "$(ask where)")" = 0x- ]; then
    fail "weston 2: a click on 帮助 at $((fx + 3 + ${menu%,*})),$((fy + top + ${menu#*,})) then Down, Return opened no help (weston-2-help.png)"
  else
    read -r hx hy hw hh < <(image area "$out/weston-2-help.png" 255 255 255 300)
    [ "$hw" != 0 ]; st=$?
    check $st "weston 2: the help's white content is ${hw}x${hh} at $hx,$hy; Qt draws on its title bar: $(buttons "$out/weston-2-help.png" $((hx - 3)) $((hy - 30)) $((hw + 6))) (weston-2-help.png)"
  fi

  # 3. the leaderboard
  ask end >/dev/null; sleep 1.5
  xshot "$out/weston-3-three-windows.png"
  read -r lx ly lw lh < <(image area "$out/weston-3-three-windows.png" 255 255 255 300 $hx $hy $hw $hh)
  [ "$lw" != 0 ]; st=$?
  check $st "weston 3: the leaderboard's white content is ${lw}x${lh} at $lx,$ly; Qt draws on its title bar: $(buttons "$out/weston-3-three-windows.png" $((lx - 3)) $((ly - 30)) $((lw + 6))) (weston-3-three-windows.png)"

  # 4. a click on the leaderboard's maximise button: the program still runs, the screen's
  # corners still show the background and the white content is the same box.
  if [ "$lw" != 0 ]; then
    bx=$((lx - 3 + lw + 6 - 16 - 23)) by=$((ly - 30 + 15))
    xclick $bx $by; sleep 0.15
    xshot "$out/weston-4-leaderboard-maximise-clicked.png"
    sleep 1.5
    xshot "$out/weston-4-leaderboard-after.png"
    if ! kill -0 $driver_pid 2>/dev/null; then
      fail "weston 4: a click on the leaderboard's maximise button ($bx,$by) ended the program (weston-4-leaderboard-maximise-clicked.png)"
    else
      local corners=0 c
      for c in "2 2" "1021 2" "2 765" "1021 765"; do # the parked pointer is on none
        [ "$(pixel "$out/weston-4-leaderboard-after.png" $c)" = "srgb(64,64,64)" ] && corners=$((corners + 1))
      done
      f2=$(image area "$out/weston-4-leaderboard-after.png" 255 255 255 300 $hx $hy $hw $hh)
      [ $corners = 4 ] && [ "$f2" = "$lx $ly $lw $lh" ]; st=$?
      check $st "weston 4: 1.5 s after a click on the leaderboard's maximise button ($bx,$by) its white content is ${f2// /,} (was $lx,$ly,$lw,$lh), $corners of 4 screen corners show the background (weston-4-leaderboard-after.png)"
    fi
  fi
  weston_quit 1 4

  # 5. a click on the game's maximise button, the game alone on a new run of the program:
  # it still runs and its frame is the same box.
  weston_driver 2
  if [ "$fw" = 0 ]; then fail "weston 5: no game window seen on the second run"; return; fi
  local before="$fx $fy $fw $fh"
  bx=$((fx + fw - 16 - 23)) by=$((fy + 15))
  xclick $bx $by; sleep 0.15
  xshot "$out/weston-5-game-maximise-clicked.png"
  sleep 1.5
  xshot "$out/weston-5-game-after.png"
  if ! kill -0 $driver_pid 2>/dev/null; then
    fail "weston 5: a click on the game's maximise button ($bx,$by) ended the program (weston-5-game-maximise-clicked.png)"
  else
    f2=$(image diff "$tmp/empty.png" "$out/weston-5-game-after.png")
    [ "$f2" = "$before" ]; st=$?
    check $st "weston 5: 1.5 s after a click on the game's maximise button ($bx,$by) its frame is ${f2// /,} (was ${before// /,}); just after the click: $(image diff "$tmp/empty.png" "$out/weston-5-game-maximise-clicked.png" | tr ' ' ,) (weston-5-game-after.png)"
  fi
  weston_quit 2 5
  stop_all
}



sway_part
weston_part
echo "screenshots in $out"
[ $failures = 0 ]
