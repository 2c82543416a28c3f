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
export XDG_RUNTIME_DIR=$tmp QT_QPA_PLATFORM=xcb
ask() { echo "$1" >&3; read -r -t 10 answer <&4 || fail "no answer to $1"; echo "$answer"; }
field() { sed -n "s/.*$1=\([^ ]*\).*/\1/p" <<<"$2"; }
top() { xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | awk '{print $NF}'; }
# The X server's ids compare as numbers: xprop and Qt spell them differently.
same() { [ $(($1)) -eq $(($2)) ]; }
no_maximise() {
  xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE && fail "$2 is offered a maximise"
  xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -q CLOSE || fail "$2 has no allowed actions"
}
display=90
for wm in openbox mutter; do
  case $wm in
  openbox) start=(openbox --sm-disable) ;;
  mutter) command -v mutter >/dev/null || { echo "no mutter: only openbox tried"; continue; }
    start=(dbus-run-session -- mutter --x11 --replace) ;;
  esac
  export DISPLAY=:$((display++))
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
  for _ in $(seq 50); do xprop -root >/dev/null 2>&1 && break; sleep 0.1; done
  "${start[@]}" >"$tmp/$wm.log" 2>&1 &
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q '#' && break; sleep 0.1; done
  rm -f "$tmp/in" "$tmp/out" && mkfifo "$tmp/in" "$tmp/out"
  "$driver" <"$tmp/in" >"$tmp/out" 2>"$tmp/stderr" &
  exec 3>"$tmp/in" 4<"$tmp/out"
  timeout 20 xdotool search --sync --name '^Numora$' >/dev/null || { cat "$tmp/stderr"; fail "no game window"; }
  sleep 1
  where=$(ask where) main=$(field main "$where") menu=$(field menu "$where")
  xdotool mousemove ${menu/,/ } click 1 && sleep 0.5 && xdotool key Down Return && sleep 1
  help=$(field help "$(ask where)")
  [ "$help" != 0x- ] || fail "帮助 > 玩法 opened no help"
  same "$(xprop -id "$help" WM_TRANSIENT_FOR | awk '{print $NF}')" "$main" || fail "the help is no transient of the game"
  xdotool mousemove 163 480 click 1 && sleep 1 # on the game, beside the help
  import -window root "$out/wm-$wm-help.png"
  same "$(top)" "$help" || fail "a click on the game put it over the help"
  pixel=$(import -window root -crop 1x1+320+380 txt:- | grep -o '#[0-9A-F]\{6\}')
  [ "$pixel" = "#FFFFFF" ] || fail "the help is not seen after a click on the game ($pixel)"
  no_maximise "$main" "the game"
  no_maximise "$help" "the help"
  xdotool mousemove 320 380 click 1 && sleep 0.5 && xdotool key alt+F4 && sleep 1
  xdotool key Left && sleep 0.5
  state=$(ask state)
  [ "$(field focus "$state") $(field pair "$state")" = "Pict 102" ] || fail "keys after the help: $state"
  ask end >/dev/null && sleep 1
  list=$(field list "$(ask where)")
  same "$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')" "$list" || fail "the list is not active"
  same "$(top)" "$list" || fail "the list is not in front"
  no_maximise "$list" "the list"
  xdotool type --delay 50 Bo && sleep 0.5
  import -window root "$out/wm-$wm-list.png"
  state=$(ask state)
  [ "$(field focus "$state") $(field name "$state")" = "Text1 Bo" ] || fail "the name box: $state"
  exec 3>&- 4<&-
  wait $! 2>/dev/null
  [ -s "$tmp/stderr" ] && { cat "$tmp/stderr"; fail "the program wrote to stderr"; }
  kill $(jobs -p) 2>/dev/null
  wait 2>/dev/null
  echo "PASS $wm"
done
