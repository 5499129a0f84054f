#!/bin/bash
# package_e2e.sh BUILD_FOLDER VERSION OUTPUT_FOLDER
# Builds the .deb, checks its fields and files, installs it, starts /usr/bin/keyhaven as a new
# user would (first-start notice, login with the initial master password, main window), starts
# it again (no notice), and removes the package. Screenshots go to OUTPUT_FOLDER.
set -u
build=$1 version=$2 output=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../input/x_server.sh"

if [ "$(id -u)" != 0 ]; then
  echo "installing a package needs root: skipped"
  exit 77
fi
if dpkg-query -W -f='${Status}' keyhaven 2>/dev/null | grep -q 'ok installed'; then
  echo "keyhaven is installed on this machine already and is left alone (dpkg -r keyhaven to test): skipped"
  exit 77
fi

work=$(mktemp -d)
program_pid=""
installed=""
stop_program() {
  if [ -n "$program_pid" ]; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
    program_pid=""
  fi
}
cleanup() {
  stop_program
  stop_x_server
  [ -n "$installed" ] && dpkg -r keyhaven >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
  exit 1
}

# --- the package ---
if ! cpack -G DEB -B "$work/package" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack -G DEB failed"
fi
deb=$(ls "$work"/package/keyhaven_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no keyhaven_*.deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = keyhaven ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "version is '$(field Version)', the project's is $version"
[ "$(field Section)" = utils ] || fail "section is '$(field Section)'"
field Maintainer | grep -q '^keyhaven developers <' || fail "maintainer is '$(field Maintainer)'"
depends=$(field Depends)
field Recommends | grep -q "qt6-translations-l10n" || fail "Recommends lacks qt6-translations-l10n: $(field Recommends)"
for needed in libqt6widgets6 libsqlcipher0 libx11-6 libxtst6 qt6-qpa-plugins fonts-wqy-zenhei; do
  echo "$depends" | tr ',' '\n' | grep -q "^ *$needed\b" || fail "Depends lacks $needed: $depends"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/keyhaven ./usr/bin/keyhaven-newdb ./usr/bin/keyhaven-cli ./usr/share/applications/example.keyhaven.Keyhaven.desktop \
            ./usr/share/icons/hicolor/48x48/apps/keyhaven.png ./usr/share/keyhaven/_.udb; do
  echo "$contents" | grep -qx "$file" || fail "the package lacks $file"
done

# --- installing it ---
for file in _.udb Config.ini; do
  [ -e "/usr/bin/$file" ] && fail "/usr/bin/$file is there before the test; cannot check that none is made"
done
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i failed"; }
installed=yes
desktop=/usr/share/applications/example.keyhaven.Keyhaven.desktop
for line in 'Name=钥匣个人版' 'Exec=keyhaven' 'Icon=keyhaven' 'Categories=Utility;Security;' 'Type=Application' \
            'Exec=keyhaven --fill account' 'Exec=keyhaven --fill password'; do
  grep -qxF "$line" "$desktop" || fail "$desktop lacks the line $line"
done
# The hardened build: full RELRO bound at start, a position-independent executable, stack protector.
program=/usr/bin/keyhaven
readelf -d "$program" | grep -E '\((FLAGS|FLAGS_1)\)' | grep -qw NOW || fail "$program is not linked with -z now"
readelf -lW "$program" | grep -q GNU_RELRO || fail "$program has no GNU_RELRO segment"
readelf -hW "$program" | grep -q 'Type: *DYN' || fail "$program is no position-independent executable"
nm -D "$program" | grep -q __stack_chk_fail || fail "$program has no stack protector"
file /usr/share/icons/hicolor/48x48/apps/keyhaven.png | grep -q 'PNG image data, 48 x 48' ||
  fail "the 48x48 icon is no 48x48 PNG"

# --- starting the installed program as a new user ---
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_x_server xvfb || fail "no X server"
export QT_QPA_PLATFORM=xcb

# The first visible window whose title matches the pattern, within about ten seconds.
wait_for_window() {
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$program_pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
press_in() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  shift
  xdotool "$@"
}

/usr/bin/keyhaven >"$work/program.log" 2>&1 &
program_pid=$!
notice=$(wait_for_window '^钥匣个人版$') || fail "no first-start notice appeared"
data=$XDG_DATA_HOME/keyhaven
[ -f "$data/_.udb" ] || fail "$data/_.udb was not made"
[ "$(stat -c %a "$data/_.udb")" = 600 ] || fail "$data/_.udb is readable by others"
mkdir -p "$output"
import -window root "$output/package_first_start_notice.png" 2>/dev/null
press_in "$notice" key Return
login=$(wait_for_window '^管理登录$') || fail "the login window 管理登录 did not appear"
import -window root "$output/package_login.png" 2>/dev/null
press_in "$login" type --delay 30 123456
xdotool key Return
wait_for_window "^钥匣个人版ver:$version\$" >/dev/null ||
  fail "the initial master password 123456 did not open the main window"
import -window root "$output/package_main_window.png" 2>/dev/null
for file in _.udb Config.ini; do
  [ -e "/usr/bin/$file" ] && fail "the installed program wrote /usr/bin/$file"
done
ls /usr/bin | grep -q '_bak_' && fail "the installed program wrote a backup into /usr/bin"
stop_program

# --- a second start finds its database and says nothing ---
cp "$data/_.udb" "$work/after-first-run.udb"
/usr/bin/keyhaven >"$work/program.log" 2>&1 &
program_pid=$!
wait_for_window '^管理登录$' >/dev/null || fail "the second start showed no login window"
[ -z "$(xdotool search --onlyvisible --name '^钥匣个人版$' 2>/dev/null)" ] ||
  fail "the second start showed the first-start notice again"
cmp -s "$data/_.udb" "$work/after-first-run.udb" || fail "the second start replaced the database"
stop_program

# --- the command line finds the same data folder ---
echo 123456 | /usr/bin/keyhaven-cli ls --categories >"$work/cli.log" 2>&1 ||
  fail "the installed keyhaven-cli did not open $data/_.udb: $(cat "$work/cli.log")"

dpkg -r keyhaven >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -r failed"; }
installed=""
[ -e /usr/bin/keyhaven ] && fail "dpkg -r left /usr/bin/keyhaven behind"
[ -f "$data/_.udb" ] || fail "removing the package took the user's database with it"
echo "package $(basename "$deb") installed, started, logged in and removed"
