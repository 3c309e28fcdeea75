#!/usr/bin/env python3
"""A UDP relay on 127.0.0.1 that makes a poor line: every datagram, either way, waits DELAY ms plus or minus
JITTER ms (so some overtake others) and LOSS of them are dropped. Each client gets a socket of its own
towards the target, so the target sees the clients apart.

usage: udp_relay.py LISTEN_PORT TARGET_PORT [DELAY_MS JITTER_MS LOSS SEED]
It prints one line "relay LISTEN_PORT" when ready, and forwards until killed."""
import heapq
import random
import select
import socket
import sys
import time

listen_port, target_port = int(sys.argv[1]), int(sys.argv[2])
delay, jitter, loss = (float(sys.argv[3]), float(sys.argv[4]), float(sys.argv[5])) if len(sys.argv) > 5 else (100, 20, 0.05)
rng = random.Random(int(sys.argv[6]) if len(sys.argv) > 6 else 1)
target = ("127.0.0.1", target_port)

front = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
front.bind(("127.0.0.1", listen_port))
upstream = {}  # client address -> its socket towards the target
client_of = {}  # that socket -> the client address
queue = []  # (due, order, socket, datagram, address)
order = 0
print("relay", listen_port, flush=True)


def schedule(sock, data, address):
    global order
    if rng.random() < loss:
        return
    order += 1
    heapq.heappush(queue, (time.monotonic() + max(0.0, delay + rng.uniform(-jitter, jitter)) / 1000.0, order, sock, data, address))


while True:
    timeout = max(0.0, queue[0][0] - time.monotonic()) if queue else 0.5
    readable, _, _ = select.select([front] + list(client_of), [], [], timeout)
    for sock in readable:
        data, address = sock.recvfrom(65536)
        if sock is front:
            if address not in upstream:
                up = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
                up.bind(("127.0.0.1", 0))
                upstream[address] = up
                client_of[up] = address
            schedule(upstream[address], data, target)
        else:
            schedule(front, data, client_of[sock])
    now = time.monotonic()
    while queue and queue[0][0] <= now:
        _, _, sock, data, address = heapq.heappop(queue)
        sock.sendto(data, address)
