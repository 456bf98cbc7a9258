#!/usr/bin/env bash
# Plays the program against itself between two processes of the game, the
# joiner reaching the host through scripts/net-relay.py (50 ms each way, 5% of
# datagrams lost unless told otherwise), then kills the joiner and times how
# long the host takes to say that the other player is gone. Prints the input
# delay, the ticks and battle ticks per second of both, the bytes per second
# each way (ENet's UDP payload, without IP and UDP headers) and the relay's
# counts. Needs the built game (KARVOSSA=path, build/test/karvossa unless
# given) and an X display; without one it runs itself under xvfb-run.
#   scripts/measure-network.sh [SECONDS_OF_PLAY] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
play=${1:-90}
seed=${2:-3}
binary=${KARVOSSA:-build/test/karvossa}
delay_ms=${DELAY_MS:-50}
loss=${LOSS:-0.05}
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

free_port() {
  python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
host_port=$(free_port)
relay_port=$(free_port)

KARVOSSA_NET_REPORT=1 XDG_DATA_HOME="$work/host" "$binary" --host --port "$host_port" \
  --computer 0 --seed "$seed" --windowed --mute >"$work/host.log" 2>&1 &
host=$!
pids+=("$host")
python3 scripts/net-relay.py --listen "$relay_port" --to "$host_port" --delay-ms "$delay_ms" \
  --loss "$loss" --seed "$seed" >"$work/relay.log" 2>&1 &
relay=$!
pids+=("$relay")
sleep 0.5
KARVOSSA_NET_REPORT=1 XDG_DATA_HOME="$work/joiner" "$binary" --join "127.0.0.1:$relay_port" \
  --computer 1 --windowed --mute >"$work/joiner.log" 2>&1 &
joiner=$!
pids+=("$joiner")
sleep "$play"

kill -KILL "$joiner" 2>/dev/null || { echo "the joiner ended by itself:"; cat "$work/joiner.log" "$work/host.log"; exit 1; }
killed=$(date +%s.%N)
# What the host reported while both played; it goes on reporting its waiting.
before_kill=$(wc -l <"$work/host.log")
noticed=""
for _ in $(seq 1 600); do
  if grep -q "the other player is gone" "$work/host.log"; then
    noticed=$(date +%s.%N)
    break
  fi
  sleep 0.1
done
kill -TERM "$relay"
wait "$relay" 2>/dev/null || true

# Median and the lowest (or highest) of a column of numbers.
stats() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) { print "none"; exit }
    printf "median %s, min %s, max %s (%d reports)\n", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}
head -n "$before_kill" "$work/host.log" >"$work/host-playing.log"
cp "$work/joiner.log" "$work/joiner-playing.log"
for who in host joiner; do
  log="$work/$who-playing.log"
  echo "== $who"
  grep -m1 "playing player" "$log" || echo "never began: $(cat "$log")"
  echo -n "ticks/s: "
  grep "karvossa: network:" "$log" | sed -E 's/.*network: ([0-9.]+) ticks.*/\1/' | stats
  echo -n "battle ticks/s (reports with over 1 s of battle): "
  grep "karvossa: network:" "$log" |
    sed -E 's/.* ([0-9.]+) battle ticks\/s over ([0-9.]+) s.*/\1 \2/' |
    awk '$2 > 1 { print $1 }' | stats
  echo -n "bytes/s sent: "
  grep "karvossa: network:" "$log" | sed -E 's/.*, ([0-9.]+) B\/s sent.*/\1/' | stats
  echo -n "bytes/s received: "
  grep "karvossa: network:" "$log" | sed -E 's/.*sent, ([0-9.]+) B\/s received.*/\1/' | stats
done
echo "== relay"
cat "$work/relay.log"
if [ -n "$noticed" ]; then
  echo "killed joiner noticed after $(echo "$noticed - $killed" | bc -l | cut -c1-5) s"
else
  echo "the killed joiner was not noticed within 60 s"
fi
