#!/usr/bin/env bash
# Started where no X display can be reached, the game must say so in one line on
# standard error and end with a failure status of its own, not by a signal; and
# --verify, which needs no display, must check a good record there.
# Usage: check-no-display.sh BINARY RECORD
set -uo pipefail

binary=$1
record=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

env -u DISPLAY -u WAYLAND_DISPLAY "$binary" >"$work/out" 2>"$work/err" </dev/null
status=$?

echo "exit status $status; standard error:"
cat "$work/err"
failures=0
if [ "$status" -eq 0 ] || [ "$status" -ge 128 ]; then
  echo "FAIL: wanted a failure status from 1 to 127" >&2
  failures=1
fi
# wc -l counts newlines: one line means a single line, ended by its newline.
if [ "$(wc -l <"$work/err")" -ne 1 ] || [ "$(tail -c 1 "$work/err" | od -An -c | tr -d ' ')" != '\n' ]; then
  echo "FAIL: wanted exactly one line on standard error" >&2
  failures=1
fi
if [ -s "$work/out" ]; then
  echo "FAIL: wrote to standard output:" >&2
  cat "$work/out" >&2
  failures=1
fi

env -u DISPLAY -u WAYLAND_DISPLAY "$binary" --verify "$record" >"$work/out" 2>"$work/err" </dev/null
status=$?
echo "--verify: exit status $status; $(cat "$work/out")"
if [ "$status" -ne 0 ] || [ "$(wc -l <"$work/out")" -ne 1 ] || ! grep -q 'verified' "$work/out" ||
  [ -s "$work/err" ]; then
  echo "FAIL: --verify did not check the record in one line without a display:" >&2
  cat "$work/err" >&2
  failures=1
fi
[ "$failures" -eq 0 ]
