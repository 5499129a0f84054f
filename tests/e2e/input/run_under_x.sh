#!/bin/bash
# run_under_x.sh <xvfb|vnc> <program> [arguments...]: runs the program on a private X server.
set -u
kind=$1
shift
. "$(dirname "$0")/x_server.sh"
trap stop_x_server EXIT
start_x_server "$kind" || exit 1
QT_QPA_PLATFORM=xcb "$@"
