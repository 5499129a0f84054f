#!/bin/bash
# typing_e2e.sh <xvfb|vnc> <layout|default> <receiver> <typer>
# Types texts into a real Qt window through the X11 keystroke backend and checks that the
# window received exactly those texts, on the given keyboard layout.
set -u
kind=$1 layout=$2 receiver=$3 typer=$4
here=$(dirname "$0")
. "$here/x_server.sh"

work=$(mktemp -d)
receiver_pid=""
cleanup() {
  [ -n "$receiver_pid" ] && kill "$receiver_pid" 2>/dev/null && wait "$receiver_pid" 2>/dev/null
  stop_x_server
  rm -rf "$work"
}
trap cleanup EXIT

start_x_server "$kind" || exit 1

# The keysym on <AB01>, the key left of X on a US keyboard, tells which layout is active.
ab01() { xkbcomp "$DISPLAY" - 2>/dev/null | grep -A3 'key <AB01>' | grep -o 'symbols\[Group1\]= \[ *[^,]*' | sed 's/.*\[ *//'; }
case $layout in
  default) expected_ab01=z ;;
  de) expected_ab01=y ;;
  fr) expected_ab01=w ;;
  *) echo "unknown layout $layout" >&2; exit 1 ;;
esac
[ "$layout" = default ] || setxkbmap "$layout" || exit 1
actual=$(ab01)
if [ "$actual" != "$expected_ab01" ]; then
  echo "layout $layout not active: <AB01> is '$actual'" >&2
  exit 1
fi

printable=$(printf '%b' "$(printf '\\x%02x' $(seq 32 126))")
texts=(
  "$printable"
  "a+b^c%d~e(f)g{h}i@#!"
  "{{}}}{ }{x}+(A)^%~"
  "Pass W0rd \\|/ \"'\`;:,.<>?[]=-_"
)
# Characters beyond ASCII: those the layout has, and some it lacks (put on a spare key).
case $layout in
  default) texts+=("é€ßä中Ω") ;;
  de) texts+=("äöüÄÖÜß€§°µ²³" "中ñÅ") ;;
  fr) texts+=("éèàçùÀ€²µ§£" "中ñÅ") ;;
esac

failures=0
index=0
# type_and_check <typer option or ""> <text> <expected>
type_and_check() {
  local option=$1 text=$2 expected=$3
  index=$((index + 1))
  local out="$work/typed$index" source="$work/text$index"
  printf '%s' "$text" >"$source"
  "$receiver" "$out" &
  receiver_pid=$!
  for _ in $(seq 100); do [ -e "$out.ready" ] && break; sleep 0.1; done
  if [ ! -e "$out.ready" ]; then
    echo "receiver did not get the focus" >&2
    exit 1
  fi
  "$typer" $option "$source" || { echo "typer refused or failed on: $text" >&2; failures=$((failures + 1)); }
  # The receiver writes on every change; wait until it holds the whole text or stops changing.
  local last="" same=0 now
  for _ in $(seq 100); do
    now=$(cat "$out" 2>/dev/null)
    [ "$now" = "$expected" ] && break
    if [ "$now" = "$last" ]; then same=$((same + 1)); [ $same -ge 20 ] && break; else same=0; fi
    last=$now
    sleep 0.1
  done
  local typed
  typed=$(cat "$out" 2>/dev/null)
  if [ "$typed" = "$expected" ]; then
    echo "ok   [$layout$locks] $option $text"
  else
    echo "FAIL [$layout$locks] $option $text" >&2
    echo "     expected: $expected" >&2
    echo "     typed:    $typed" >&2
    failures=$((failures + 1))
  fi
  kill "$receiver_pid" 2>/dev/null
  wait "$receiver_pid" 2>/dev/null
  receiver_pid=""
}

locks=""
for text in "${texts[@]}"; do type_and_check "" "$text" "$text"; done

# The key language itself: named keys, modifiers and groups, on this layout.
type_and_check --raw "ab{BKSP}c" "ac"
type_and_check --raw "xy{LEFT}Z{END}!" "xZy!"
type_and_check --raw "+(abc)d+ef" "ABCdEf"
type_and_check --raw "{a 3}{TAB 0}{b}" "AAAB"
type_and_check --raw "12{HOME}0" "012"
type_and_check --raw "abc^a{DEL}x" "x"

# CapsLock on: the text still comes out as stored.
xdotool key Caps_Lock
locks=" capslock"
type_and_check "" "${texts[0]}" "${texts[0]}"
type_and_check "" "${texts[${#texts[@]}-1]}" "${texts[${#texts[@]}-1]}"
xdotool key Caps_Lock

exit $((failures > 0))
