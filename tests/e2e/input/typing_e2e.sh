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
for text in "${texts[@]}"; do
  index=$((index + 1))
  out="$work/typed$index"
  printf '%s' "$text" >"$work/text$index"
  "$receiver" "$out" &
  receiver_pid=$!
  for _ in $(seq 100); do [ -e "$out.ready" ] && break; sleep 0.1; done
  if [ ! -e "$out.ready" ]; then
    echo "receiver did not get the focus" >&2
    exit 1
  fi
  "$typer" "$work/text$index" || { echo "typer refused or failed on: $text" >&2; failures=$((failures + 1)); }
  # The receiver writes on every change; wait until it holds the whole text or stops changing.
  last="" same=0
  for _ in $(seq 100); do
    now=$(cat "$out" 2>/dev/null)
    [ "$now" = "$text" ] && break
    if [ "$now" = "$last" ]; then same=$((same + 1)); [ $same -ge 20 ] && break; else same=0; fi
    last=$now
    sleep 0.1
  done
  typed=$(cat "$out" 2>/dev/null)
  if [ "$typed" = "$text" ]; then
    echo "ok   [$layout] $text"
  else
    echo "FAIL [$layout] expected: $text" >&2
    echo "               typed:    $typed" >&2
    failures=$((failures + 1))
  fi
  kill "$receiver_pid" 2>/dev/null
  wait "$receiver_pid" 2>/dev/null
  receiver_pid=""
done
exit $((failures > 0))
