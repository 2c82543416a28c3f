#!/usr/bin/env bash
# The windows under real window managers on Xvfb (openbox, then mutter where it runs): with
# the help open, a click on the game leaves the help on top and seen, since it is the
# game's transient; no fixed window is offered a maximise; the keyboard is back on the game
# once the help closes; the leaderboard opens in front with the keyboard in its name box;
# nothing on stderr. Usage: window_manager_test.sh <desktop_driver> <folder for screenshots>
set -uo pipefail
driver=$1 out=$2
for tool in Xvfb xdotool xprop import openbox; do
  command -v $tool >/dev/null || { echo "SKIP: no $tool (tools/deps.sh test installs it)"; exit 77; }
done
fail() { echo "FAIL ($wm): $*" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT
# A desktop session's locale is UTF-8; without one Qt says on stderr that it takes C.UTF-8.
export XDG_RUNTIME_DIR=$tmp QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
ask() { echo "$1" >&3; read -r -t 10 answer <&4 || fail "no answer to $1"; echo "$answer"; }
field() { sed -n "s/.*$1=\([^ ]*\).*/\1/p" <<<"$2"; }
top() { xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | awk '{print $NF}'; }
# The X server's ids compare as numbers: xprop and Qt spell them differently.
same() { [ $(($1)) -eq $(($2)) ]; }
# Waits up to ten seconds for a command to succeed: a loaded machine is slow to map a window.
until_ok() { for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done; return 1; }
active() { same "$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')" "$1"; }
opened() { [ "$(field "$1" "$(ask where)")" != 0x- ]; }
closed() { ! opened "$1"; }
owned() { same "$(xprop -id "$1" WM_TRANSIENT_FOR | awk '{print $NF}')" "$2"; }
says() { [[ "$(ask state)" == *"$1"* ]]; }
no_maximise() {
  xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE && fail "$2 is offered a maximise"
  xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -q CLOSE || fail "$2 has no allowed actions"
}
for wm in openbox mutter; do
  case $wm in
  openbox) start=(openbox --sm-disable) ;;
  mutter) command -v mutter >/dev/null || { echo "no mutter: only openbox tried"; continue; }
    start=(dbus-run-session -- mutter --x11 --replace) ;;
  esac
  rm -f "$tmp/display"
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$tmp/display" 2>/dev/null &
  for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$tmp/display")
  "${start[@]}" >"$tmp/$wm.log" 2>&1 &
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q '#' && break; sleep 0.1; done
  rm -f "$tmp/in" "$tmp/out" && mkfifo "$tmp/in" "$tmp/out"
  "$driver" <"$tmp/in" >"$tmp/out" 2>"$tmp/stderr" &
  exec 3>"$tmp/in" 4<"$tmp/out"
  timeout 20 xdotool search --sync --name '^Numora$' >/dev/null || { cat "$tmp/stderr"; fail "no game window"; }
  where=$(ask where) main=$(field main "$where") menu=$(field menu "$where")
  for _ in 1 2 3; do # a menu that opens late on a loaded machine misses the keys: again
    xdotool mousemove ${menu/,/ } click 1 && sleep 1 && xdotool key Down Return
    until_ok opened help && break
    xdotool key Escape
  done
  help=$(field help "$(ask where)")
  [ "$help" != 0x- ] || fail "帮助 > 玩法 opened no help"
  until_ok active "$help" || fail "the help is not active"
  until_ok owned "$help" "$main" || fail "the help is no transient of the game"
  xdotool mousemove 163 480 click 1 # on the game, beside the help
  until_ok active "$main" || fail "a click on the game did not reach it"
  sleep 0.5
  import -window root "$out/wm-$wm-help.png"
  same "$(top)" "$help" || fail "a click on the game put it over the help"
  pixel=$(import -window root -crop 1x1+320+380 txt:- | grep -o '#[0-9A-F]\{6\}')
  [ "$pixel" = "#FFFFFF" ] || fail "the help is not seen after a click on the game ($pixel)"
  no_maximise "$main" "the game"
  no_maximise "$help" "the help"
  xdotool mousemove 320 380 click 1
  until_ok active "$help" || fail "a click on the help did not activate it"
  xdotool key alt+F4
  until_ok closed help || fail "the help did not close"
  xdotool key Left
  until_ok says "focus=Pict pair=102" || fail "keys after the help: $(ask state)"
  ask end >/dev/null
  until_ok opened list || fail "no list at the game's end"
  list=$(field list "$(ask where)")
  until_ok active "$list" || fail "the list is not active"
  same "$(top)" "$list" || fail "the list is not in front"
  no_maximise "$list" "the list"
  xdotool type --delay 50 Bo
  until_ok says "focus=Text1 pair=102 name=Bo" || fail "the name box: $(ask state)"
  import -window root "$out/wm-$wm-list.png"
  exec 3>&- 4<&-
  wait $! 2>/dev/null
  [ -s "$tmp/stderr" ] && { cat "$tmp/stderr"; fail "the program wrote to stderr"; }
  kill $(jobs -p) 2>/dev/null
  wait 2>/dev/null
  echo "PASS $wm"
done
