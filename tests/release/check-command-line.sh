#!/usr/bin/env bash
# The command line as a player meets it: help and the version need no display
# and exit 0; a mistake is named in one line with the usage on standard error,
# status 2, before any window; the options and GLUT's own -display open a
# 1280x720 window in which the program plays both sides.
# The window part runs on an X server of its own, where no other test's
# window can be taken for the game's.
# Usage: check-command-line.sh BINARY
set -uo pipefail

if [ "${1:-}" = "--window" ]; then
  binary=$2
  display=$DISPLAY
  env -u DISPLAY "$binary" -display "$display" --windowed --seed 7 --computer 0 --computer 1 \
    >/dev/null 2>&1 </dev/null &
  game=$!
  trap 'kill "$game" 2>/dev/null' EXIT
  geometry=""
  for _ in $(seq 50); do
    geometry=$(xdotool search --name '^Karvossa!$' getwindowgeometry 2>/dev/null)
    [ -n "$geometry" ] && break
    sleep 0.2
  done
  grep -q 'Geometry: 1280x720' <<<"$geometry" || { echo "no 1280x720 window: $geometry"; exit 1; }
  sleep 2
  kill -0 "$game" 2>/dev/null || { echo "the program playing itself ended"; exit 1; }
  exit 0
fi

binary=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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

xvfb-run -a -s "-screen 0 1600x900x24" bash "$0" --window "$binary" >"$work/out" 2>&1 ||
  fail "the options did not open a playing 1280x720 window: $(cat "$work/out")"

[ "$failures" -eq 0 ]
