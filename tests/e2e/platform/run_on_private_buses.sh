#!/bin/bash
# run_on_private_buses.sh <program> [arguments...]: runs the program on a private session bus
# that also stands in for the system bus, so it can own names a real system bus reserves.
set -u
exec dbus-run-session -- bash -c 'DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS exec "$@"' run "$@"
