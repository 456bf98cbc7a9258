#!/usr/bin/env python3
"""A poor line between two machines of a network game, on one machine: a UDP
relay that forwards every datagram between the first client and the host,
each direction delayed by a fixed time and losing a fraction of what it
carries, drawn from a seeded generator so that a run can be repeated. A fixed
delay keeps the order. It prints what it carried when it is told to end."""
import argparse
import heapq
import random
import select
import signal
import socket
import sys
import time


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--listen", type=int, required=True, help="UDP port the joiner is given")
    parser.add_argument("--to", type=int, required=True, help="the host's UDP port")
    parser.add_argument("--delay-ms", type=float, default=50, help="added in each direction")
    parser.add_argument("--loss", type=float, default=0.05, help="fraction lost in each direction")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    draw = random.Random(args.seed)
    outside = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    outside.bind(("127.0.0.1", args.listen))
    inside = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    inside.bind(("127.0.0.1", 0))
    host = ("127.0.0.1", args.to)
    client = None
    pending = []  # (due, order, socket, address, bytes)
    order = 0
    counts = {"to host": [0, 0, 0], "to joiner": [0, 0, 0]}  # datagrams, bytes, lost
    running = True

    def stop(*_):
        nonlocal running
        running = False

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    while running:
        now = time.monotonic()
        while pending and pending[0][0] <= now:
            _, _, sock, address, data = heapq.heappop(pending)
            sock.sendto(data, address)
        wait = max(0.0, pending[0][0] - now) if pending else 0.05
        try:
            readable, _, _ = select.select([outside, inside], [], [], min(wait, 0.05))
        except InterruptedError:
            continue
        for sock in readable:
            data, address = sock.recvfrom(65536)
            if sock is outside:
                client = client or address
                if address != client:
                    continue
                direction, target, via = "to host", host, inside
            else:
                if client is None:
                    continue
                direction, target, via = "to joiner", client, outside
            count = counts[direction]
            count[0] += 1
            count[1] += len(data)
            if draw.random() < args.loss:
                count[2] += 1
                continue
            order += 1
            heapq.heappush(pending, (time.monotonic() + args.delay_ms / 1000, order, via, target, data))

    for direction, (datagrams, size, lost) in counts.items():
        print(f"relay {direction}: {datagrams} datagrams, {size} bytes, {lost} lost", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
