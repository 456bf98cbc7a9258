#!/usr/bin/env bash
# The command line as a player meets it: help and the version need no display
# and exit 0; a mistake is named in one line with the usage on standard error,
# status 2, before any window; the options and GLUT's own -display open a
# 1280x720 window in which the program plays both sides.
# Usage: check-command-line.sh BINARY   (with DISPLAY set to an X server)
set -uo pipefail

binary=$1
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${game:-}" ] && kill "$game" 2>/dev/null' EXIT
display=$DISPLAY
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Runs the binary without a display; sets status, out and err.
run() {
  env -u DISPLAY "$binary" "$@" >"$work/out" 2>"$work/err" </dev/null
  status=$?
}

run --help
[ "$status" -eq 0 ] || fail "--help ended with $status"
grep -q -- '--computer N' "$work/out" || fail "--help shows no usage"
[ ! -s "$work/err" ] || fail "--help wrote to standard error"

run --version
[ "$status" -eq 0 ] || fail "--version ended with $status"
grep -Eqx 'karvossa [0-9]+\.[0-9]+\.[0-9]+' "$work/out" || fail "--version printed: $(cat "$work/out")"

for mistake in "--computer 2" "--seed x" "--fullscreen" "--seed"; do
  # shellcheck disable=SC2086
  run $mistake
  [ "$status" -eq 2 ] || fail "'$mistake' ended with $status, not 2"
  head -n 1 "$work/err" | grep -q '^karvossa: ' || fail "'$mistake' named no mistake first"
  grep -q -- '--computer N' "$work/err" || fail "'$mistake' showed no usage"
  [ ! -s "$work/out" ] || fail "'$mistake' wrote to standard output"
done

env -u DISPLAY "$binary" -display "$display" --windowed --seed 7 --computer 0 --computer 1 \
  >"$work/out" 2>"$work/err" </dev/null &
game=$!
geometry=""
for _ in $(seq 50); do
  geometry=$(DISPLAY=$display xdotool search --name '^Karvossa!$' getwindowgeometry 2>/dev/null)
  [ -n "$geometry" ] && break
  sleep 0.2
done
grep -q 'Geometry: 1280x720' <<<"$geometry" || fail "no 1280x720 window: $geometry"
sleep 2
kill -0 "$game" 2>/dev/null || fail "the program playing itself ended: $(cat "$work/err")"

[ "$failures" -eq 0 ]
