# Sourced by the end-to-end scripts: a private X server on a free display, gone on exit.
#   start_x_server xvfb|vnc   sets DISPLAY; vnc is Xtigervnc, which applies setxkbmap

x_server_pid=""

stop_x_server() {
  if [ -n "$x_server_pid" ]; then
    kill "$x_server_pid" 2>/dev/null
    wait "$x_server_pid" 2>/dev/null
    x_server_pid=""
  fi
}

start_x_server() {
  local kind=$1 number_file
  number_file=$(mktemp)
  # The server picks a free display itself and writes its number once it accepts clients, so
  # runs side by side never share a server.
  case $kind in
    xvfb) Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 & ;;
    vnc) Xtigervnc -displayfd 3 -geometry 1280x1024 -depth 24 -SecurityTypes None -rfbport -1 -nolisten tcp \
           3>"$number_file" >/dev/null 2>&1 & ;;
    *) echo "unknown X server kind $kind" >&2; return 1 ;;
  esac
  x_server_pid=$!
  local number=""
  for _ in $(seq 100); do
    number=$(tr -dc 0-9 <"$number_file")
    [ -n "$number" ] && break
    kill -0 "$x_server_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  if [ -z "$number" ]; then
    echo "the $kind X server did not start" >&2
    stop_x_server
    return 1
  fi
  export DISPLAY=":$number"
}
