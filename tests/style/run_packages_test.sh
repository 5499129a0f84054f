#!/usr/bin/env bash
# ./run installs only scripts/packages.txt: a build without the tests must find no test-only
# library, and no package may be listed as both a run and a test package.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for list in packages.txt test-packages.txt; do
  [[ -f "$root/scripts/$list" ]] || { echo "scripts/$list is missing"; exit 1; }
done
lists() { grep -v -E '^\s*(#|$)' "$1" | awk '{print $1}' | sort; }
both=$(comm -12 <(lists "$root/scripts/packages.txt") <(lists "$root/scripts/test-packages.txt"))
[[ -z "$both" ]] || { echo "listed as run and as test package: $both"; exit 1; }

cmake -S "$root" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEYHAVEN_BUILD_TESTS=OFF >"$work/log" 2>&1 ||
  { cat "$work/log"; exit 1; }
found=$(grep -E '^(GTest|GMock|benchmark|OpenSSL)_DIR:|^OPENSSL_INCLUDE_DIR:|^Qt6Test_DIR:' "$work/CMakeCache.txt" |
  grep -v NOTFOUND || true)
[[ -z "$found" ]] || { echo "the build without tests looked for test-only packages:"; echo "$found"; exit 1; }
echo "run build needs only scripts/packages.txt"
