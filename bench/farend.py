#!/usr/bin/env python3
"""The far end of a pseudo-terminal that times the commands arriving there.

    farend.py SECONDS

Prints the terminal's path, then reads for SECONDS after the first command and prints the
command count, the rate, and the intervals between command starts (median, p99, max) in ms; it
gives up when no command has come within a minute.
Every 20 ms it writes one zero byte, which no frame parser takes for a frame: under Wine a port
opens only once something has arrived (the Wine serial layer waits for the first byte in the
open call), and the bytes stand in for the gimbal's traffic without being reports.
"""
import os
import select
import sys
import time
import tty

seconds = float(sys.argv[1])
master, slave = os.openpty()
tty.setraw(slave)
print(os.ttyname(slave), flush=True)

# MAVLink 1 (0xFE) and 2 (0xFD) frames: header, payload of the length byte, checksum, and for
# MAVLink 2 a signature when the incompatibility flags say so.
pending = b""
starts = []
first = None
opened = next_poke = time.monotonic()
while first is None or time.monotonic() - first < seconds:
    now = time.monotonic()
    if first is None and now - opened > 60:
        sys.exit("no command within a minute")
    if now >= next_poke:
        os.write(master, b"\0")
        next_poke = now + 0.02
    ready, _, _ = select.select([master], [], [], max(0.0, next_poke - now))
    if not ready:
        continue
    arrived = time.monotonic()
    pending += os.read(master, 4096)
    while pending:
        if pending[0] not in (0xFE, 0xFD):
            pending = pending[1:]
            continue
        if len(pending) < 3:
            break
        if pending[0] == 0xFE:
            size = pending[1] + 8
        else:
            size = pending[1] + 12 + (13 if pending[2] & 1 else 0)
        if len(pending) < size:
            break
        starts.append(arrived)
        if first is None:
            first = arrived
        pending = pending[size:]

intervals = sorted((b - a) * 1000 for a, b in zip(starts, starts[1:]))


def quantile(fraction):
    return intervals[min(len(intervals) - 1, int(fraction * len(intervals)))]


print("commands %d, %.2f Hz, interval ms: median %.2f, p99 %.2f, max %.2f" % (
    len(starts), (len(starts) - 1) / (starts[-1] - starts[0]), quantile(0.5), quantile(0.99),
    intervals[-1]))
