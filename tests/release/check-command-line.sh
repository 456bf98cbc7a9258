#!/usr/bin/env bash
# The command line as a player meets it: help and the version need no display
# and exit 0; a mistake is named in one line with the usage on standard error,
# status 2, before any window; the options and GLUT's own -display open a
# 1280x720 window in which the program plays both sides.
# The window part runs on an X server of its own, where no other test's
# window can be taken for the game's. The server is asked to name a free
# display itself once it accepts connections: picking a number and waiting
# for it, as xvfb-run does, now and then left the game without a display on
# a busy machine.
# Usage: check-command-line.sh BINARY
set -uo pipefail

binary=$1
work=$(mktemp -d)
server=""
trap '[ -z "$server" ] || kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
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

# Starts an X server of its own and sets server and display, or fails.
start_server() {
  Xvfb -displayfd 3 -screen 0 1600x900x24 -nolisten tcp 3>"$work/display" >"$work/xvfb" 2>&1 &
  server=$!
  for _ in $(seq 150); do
    [ -s "$work/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.2
  done
  display=:$(head -n 1 "$work/display")
  [ "$display" != ":" ]
}

# Runs the game on the display with the options; succeeds when a 1280x720
# window shows and the program is still playing two seconds later.
check_window() {
  env -u DISPLAY "$binary" -display "$display" --windowed --seed 7 --computer 0 --computer 1 \
    >"$work/game" 2>&1 </dev/null &
  local game=$!
  # A sanitizer build on a busy machine takes several seconds to show a window.
  local geometry=""
  for _ in $(seq 150); do
    geometry=$(DISPLAY=$display xdotool search --name '^Karvossa!$' getwindowgeometry 2>/dev/null)
    [ -n "$geometry" ] && break
    kill -0 "$game" 2>/dev/null || break
    sleep 0.2
  done
  local result=0
  if ! grep -q 'Geometry: 1280x720' <<<"$geometry"; then
    echo "no 1280x720 window: $geometry"
    result=1
  else
    sleep 2
  fi
  kill -0 "$game" 2>/dev/null || { echo "the program ended"; result=1; }
  kill "$game" 2>/dev/null
  wait "$game" 2>/dev/null
  [ "$result" -eq 0 ] || tail -n 20 "$work/game"
  return "$result"
}

if start_server; then
  check_window >"$work/out" 2>&1 ||
    fail "the options did not open a playing 1280x720 window: $(cat "$work/out")"
else
  fail "Xvfb named no display: $(cat "$work/xvfb")"
fi

[ "$failures" -eq 0 ]
