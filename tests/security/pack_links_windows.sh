#!/usr/bin/env bash
# The Windows packer under Wine must see a link on its way out of the folder: Wine shows
# a Unix symbolic link as a reparse point, as Windows shows links and junctions.
set -u
pack=$1
run() { "$(dirname "$0")/../../scripts/wine-run" "$pack" "$@"; }
win() { printf 'Z:%s' "${1//\//\\}"; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/app/sub" "$root/out" "$root/elsewhere"
echo page > "$root/app/sub/page.html"
run create "$(win "$root/app")" "$(win "$root/a.dat")" >/dev/null || { echo "create failed"; exit 1; }
ln -s "$root/elsewhere" "$root/out/sub"
message=$(run extract "$(win "$root/a.dat")" "$(win "$root/out")" --force 2>&1)
status=$?
message=${message//$'\r'/}
expected="tessarine-pack: refusing to write through the link $(win "$root/out/sub")"
[ "$status" -eq 1 ] || { echo "exit code $status, expected 1: $message"; exit 1; }
[ "$message" = "$expected" ] || { echo "message: $message"; echo "expected: $expected"; exit 1; }
[ -z "$(ls -A "$root/elsewhere")" ] || { echo "a file was written through the link"; exit 1; }
echo "1 passed, 0 failed"
