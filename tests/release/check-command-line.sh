#!/usr/bin/env bash
# The command line as a player meets it: help and the version need no display
# and exit 0; a mistake is named in one line with the usage on standard error,
# status 2, before any window; the options and GLUT's own -display open a
# 1280x720 window, with the game's class and icon, in which the program plays
# both sides. That game is heard through OpenAL Soft's wave backend, and heard
# nothing of with --mute; without a sound device, or with one that fails as it
# plays, it goes on in silence after one notice.
# The window part runs on an X server of its own, where no other test's
# window can be taken for the game's, under a window manager. The server is asked to name a free
# display itself once it accepts connections: picking a number and waiting
# for it, as xvfb-run does, now and then left the game without a display on
# a busy machine.
# Usage: check-command-line.sh BINARY
set -uo pipefail

binary=$1
work=$(mktemp -d)
server=""
manager=""
trap '[ -z "$manager" ] || kill "$manager" 2>/dev/null; [ -z "$server" ] || kill "$server" 2>/dev/null
  rm -rf "$work"' EXIT
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

for mistake in "--computer 2" "--seed x" "--fullscreen" "--seed" "--volume 101" "--volume"; do
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

# Starts a window manager on the display and waits until it has the screen, so
# that it takes the game's window in as the window first shows; sets manager.
start_manager() {
  DISPLAY=$display openbox --sm-disable >"$work/manager" 2>&1 </dev/null &
  manager=$!
  for _ in $(seq 150); do
    DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return
    kill -0 "$manager" 2>/dev/null || break
    sleep 0.2
  done
  return 1
}

# Docks and title bars know the window by its class and icon: WM_CLASS must be
# what the menu entry names, also in the record the manager made when it took
# the window in, and _NET_WM_ICON hold exactly the six sizes, each complete,
# with a 48-pixel image of which at least a quarter is opaque and in more than
# one colour.
check_identity() {
  local class record icon
  class=$(DISPLAY=$display xprop -id "$1" -notype WM_CLASS 2>&1)
  [ "$class" = 'WM_CLASS = "karvossa", "Karvossa"' ] || { echo "the window's $class"; return 1; }
  record=$(DISPLAY=$display xprop -id "$1" -notype _OB_APP_CLASS 2>&1)
  [ "$record" = '_OB_APP_CLASS = "Karvossa"' ] || { echo "the manager's record: $record"; return 1; }
  icon=$(DISPLAY=$display xprop -len 2000000 -id "$1" -f _NET_WM_ICON 32c '=$0+' _NET_WM_ICON |
    sed 's/^[^=]*=//' | tr ',' '\n' | awk '{ v[NR] = $1 } END {
      for (i = 1; i <= NR; i += w * h) {
        w = v[i]; h = v[i + 1]; i += 2
        if (i + w * h - 1 > NR) { printf "%dx%d cut short ", w, h; break }
        printf "%dx%d ", w, h
        for (j = i; w == 48 && j < i + w * h; ++j)
          if (v[j] >= 128 * 16777216) { opaque++; colours[v[j] % 16777216] = 1 }
      }
      for (c in colours) ++count
      printf "opaque:%d colours:%d", opaque, count }')
  local sizes=${icon% opaque:*} opaque=${icon#* opaque:}
  [ "$sizes" = "16x16 32x32 48x48 64x64 128x128 256x256" ] || { echo "icon sizes: $icon"; return 1; }
  if [ "${opaque%% *}" -lt $((48 * 48 / 4)) ] || [ "${opaque##*:}" -lt 2 ]; then
    echo "the 48-pixel icon is blank: $icon"
    return 1
  fi
}

# Runs the game on the display with the options; succeeds when a 1280x720
# window shows and the program is still playing two seconds later, when the
# window also names itself to the desktop.
check_window() {
  env -u DISPLAY "$binary" -display "$display" --windowed --seed 7 --computer 0 --computer 1 \
    >"$work/game" 2>&1 </dev/null &
  local game=$!
  # A sanitizer build on a busy machine takes several seconds to show a window.
  local window="" geometry=""
  for _ in $(seq 150); do
    window=$(DISPLAY=$display xdotool search --name '^Karvossa!$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && geometry=$(DISPLAY=$display xdotool getwindowgeometry "$window" 2>/dev/null)
    [ -n "$geometry" ] && break
    kill -0 "$game" 2>/dev/null || break
    sleep 0.2
  done
  local result=0
  if ! grep -q 'Geometry: 1280x720' <<<"$geometry"; then
    echo "no 1280x720 window: $geometry"
    result=1
  else
    # By then the program has long set what it sets after the window shows.
    sleep 2
    check_identity "$window" || result=1
  fi
  kill -0 "$game" 2>/dev/null || { echo "the program ended"; result=1; }
  kill "$game" 2>/dev/null
  wait "$game" 2>/dev/null
  [ "$result" -eq 0 ] || tail -n 20 "$work/game"
  return "$result"
}

# An OpenAL configuration whose wave backend writes 16-bit samples to $1.
wave_conf() {
  printf '[general]\ndrivers=wave\nsample-type=int16\ndither=false\n[wave]\nfile=%s\n' "$1" \
    >"$work/sound.conf"
}

# Whether the wave file holds a sample other than zero after its 68-byte header.
heard() { [ -n "$(tail -c +69 "$work/played.wav" 2>/dev/null | tr -d '\000' | head -c 1)" ]; }

# Runs the self-playing game with the options for at most $1 seconds, until
# it is heard if $2 is "heard"; fails when the game ended or was not heard.
# OpenAL finds its configuration in $work/sound.conf, its output in $work/sound.
play_for_sound() {
  local seconds=$1 until=$2
  shift 2
  env -u DISPLAY -u ALSOFT_LOGLEVEL ALSOFT_CONF="$work/sound.conf" ALSOFT_DRIVERS=wave \
    "$binary" -display "$display" --windowed --seed 7 --computer 0 --computer 1 "$@" \
    >"$work/sound" 2>&1 </dev/null &
  local game=$! result=0
  for _ in $(seq $((seconds * 5))); do
    sleep 0.2
    kill -0 "$game" 2>/dev/null || { result=1; break; }
    [ "$until" = heard ] && heard && break
  done
  [ "$until" != heard ] || heard || result=1
  kill "$game" 2>/dev/null
  wait "$game" 2>/dev/null
  return "$result"
}

# Heard through the wave device; silent but playing with --mute; playing on
# after one notice without a device and with one that fails at its first write.
check_sound() {
  wave_conf "$work/played.wav"
  play_for_sound 15 heard || fail "the game was not heard: $(cat "$work/sound")"
  [ ! -s "$work/sound" ] || fail "the game heard wrote: $(cat "$work/sound")"
  rm -f "$work/played.wav"
  play_for_sound 6 - --mute || fail "the muted game did not play on: $(cat "$work/sound")"
  [ "$(stat -c %s "$work/played.wav")" -gt 4096 ] && ! heard || fail "the muted game was heard"
  for device in none lost; do
    [ "$device" = none ] && printf '' >"$work/sound.conf" || wave_conf /dev/full
    play_for_sound 3 - && [ "$(grep -c . "$work/sound")" -eq 1 ] &&
      grep -q '^karvossa: .*playing without sound$' "$work/sound" ||
      fail "without a working sound device ($device) the game said: $(cat "$work/sound")"
  done
}

if ! start_server; then
  fail "Xvfb named no display: $(cat "$work/xvfb")"
elif ! start_manager; then
  fail "the window manager did not start: $(cat "$work/manager")"
else
  check_window >"$work/out" 2>&1 ||
    fail "the options did not open a 1280x720 window of the game's class and icon, playing:" \
      "$(cat "$work/out")"
  check_sound
fi

[ "$failures" -eq 0 ]
