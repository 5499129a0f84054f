#!/usr/bin/env bash
# The installation path of ./run and ./test as a fresh machine meets it: scripts/setup runs from a
# copy of the scripts alone, with stand-ins that report every package missing and only record what
# apt-get and sudo were asked, once as root and once as a user, so an installed machine cannot fool it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

if grep -nE '(^|[^[:alnum:]_-])/[[:alnum:]/_.-]*/(apt-get|sudo|dpkg-query)\b' "$root/scripts/setup"; then
  fail "scripts/setup names apt-get, sudo or dpkg-query by a path: the stand-ins would be bypassed"
fi
grep -qE '^scripts/setup$' "$root/run" || fail "./run does not call scripts/setup"
grep -qE '^scripts/setup --tests$' "$root/test" || fail "./test does not call scripts/setup --tests"

mkdir -p "$work/tree/scripts" "$work/bin"
cp "$root/scripts/setup" "$root/scripts/packages.txt" "$root/scripts/test-packages.txt" "$work/tree/scripts/"
stand_in() { printf '#!/bin/bash\n%s\n' "$2" >"$work/bin/$1" && chmod +x "$work/bin/$1"; }
stand_in dpkg-query 'exit 1'
stand_in apt-get 'echo "apt-get $*" >>"$LOG"'
stand_in sudo 'echo "sudo $*" >>"$LOG"'
stand_in cmake 'exit 0'
stand_in ninja 'exit 0'
stand_in id '[[ "$1" == -u ]] && echo "$FAKE_UID"'
# Only the tools the script may use besides the stand-ins, so a real apt-get or sudo is out of reach.
for tool in bash env dirname sed; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done

# "pkg" lines of a list, with or without --no-install-recommends.
packages() { grep -vE '^[[:space:]]*(#|$)' "$1" | awk -v want="$2" '($2 == "--no-install-recommends") == want {print $1}' | sort; }
# The packages the log's install calls named, with (1) or without (0) --no-install-recommends.
installed() {
  grep -oE 'apt-get install -y .*' "$1" |
    awk -v want="$2" '{ bare = ($4 == "--no-install-recommends"); if (bare == want) for (i = 4 + bare; i <= NF; i++) print $i }' |
    sort
}

for uid in 0 1000; do
  for mode in plain tests; do
    log="$work/log-$uid-$mode"
    args=()
    [[ $mode == tests ]] && args=(--tests)
    (cd "$work/tree" && env -i PATH="$work/bin" LOG="$log" FAKE_UID=$uid HOME="$work" scripts/setup "${args[@]}") \
      >"$work/out" 2>&1 || { cat "$work/out"; fail "scripts/setup ${args[*]} as uid $uid failed"; }
    [[ -s "$log" ]] || fail "uid $uid, $mode: apt-get was never called"
    [[ $(head -n1 "$log") == *"apt-get update" ]] || fail "uid $uid, $mode: the first call is not apt-get update"
    if [[ $uid == 0 ]]; then
      ! grep -q '^sudo' "$log" || fail "as root an apt-get call went through sudo"
    else
      ! grep -q '^apt-get' "$log" || fail "as a user an apt-get call bypassed sudo"
    fi
    want_plain=$(packages "$root/scripts/packages.txt" 0)
    want_bare=$(packages "$root/scripts/packages.txt" 1)
    if [[ $mode == tests ]]; then
      want_plain=$(cat <(echo "$want_plain") <(packages "$root/scripts/test-packages.txt" 0) | sed '/^$/d' | sort)
      want_bare=$(cat <(echo "$want_bare") <(packages "$root/scripts/test-packages.txt" 1) | sed '/^$/d' | sort)
    fi
    [[ $(installed "$log" 0) == "$want_plain" ]] || fail "uid $uid, $mode: installed without --no-install-recommends: $(installed "$log" 0 | tr '\n' ' ')"
    [[ $(installed "$log" 1) == "$want_bare" ]] || fail "uid $uid, $mode: installed with --no-install-recommends: $(installed "$log" 1 | tr '\n' ' ')"
  done
done

# A user without sudo learns in one line what to do, and nothing is installed.
rm "$work/bin/sudo" "$work/log-"*
if (cd "$work/tree" && env -i PATH="$work/bin" LOG="$work/log-nosudo" FAKE_UID=1000 scripts/setup) >"$work/out" 2>&1; then
  fail "a user without sudo got past the installation"
fi
[[ $(wc -l <"$work/out") -eq 1 ]] && grep -q 'root' "$work/out" && grep -q 'sudo' "$work/out" ||
  { cat "$work/out"; fail "a user without sudo is not told in one line to run as root or install sudo"; }
[[ ! -e "$work/log-nosudo" ]] || fail "apt-get ran without root"
echo "scripts/setup installs every listed package as root and through sudo as a user"
