#!/bin/bash
# run_with_ibus.sh <program> [arguments...]: runs the program beside an ibus-daemon of its own on a
# private session bus, in a temporary home where IBus and dconf keep their files; the user's engines
# are xkb:us::eng, libpinyin and xkb:de::deu.
set -u
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_RUNTIME_DIR XDG_CURRENT_DESKTOP WAYLAND_DISPLAY \
      IBUS_ADDRESS IBUS_ADDRESS_FILE
# IBus names its address file after the display; no X server is needed. XMODIFIERS as GNOME sets it.
HOME=$home DISPLAY=:97 XMODIFIERS=@im=ibus dbus-run-session -- bash -c '
  dconf write /desktop/ibus/general/preload-engines "[\"xkb:us::eng\", \"libpinyin\", \"xkb:de::deu\"]" || exit 1
  ibus-daemon --panel=disable --emoji-extension=disable >"$HOME/ibus-daemon.log" 2>&1 &
  for _ in $(seq 100); do [[ $(ibus address 2>/dev/null) == unix:* ]] && break; sleep 0.1; done
  "$@"
  status=$?
  kill %1
  wait
  exit $status' run "$@"
