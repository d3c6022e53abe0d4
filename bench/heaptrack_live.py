#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""What a program held at two moments of a heaptrack recording, and what
changed between them, by allocating stack; or its live heap every few
seconds (--every SECONDS). heaptrack's own allocations are not in it.

  heaptrack_live.py RECORDING.gz FROM TO [--depth N] [--top N]
  heaptrack_live.py RECORDING.gz --every SECONDS

Names come out mangled where heaptrack kept them so; pipe through c++filt.
"""
import argparse
import collections
import gzip


def replay(path, moments, every=None):
    """Walks the recording: '+'/'-' lines take and give back an entry of the
    allocation table ('a' size trace), 'c' lines are the time in ms."""
    table = {'strings': [], 'traces': [(0, 0)], 'ips': [None], 'allocs': []}
    live = collections.Counter()
    live_bytes = 0
    snapshots = {}
    pending = sorted(moments)
    next_print = every
    with gzip.open(path, 'rt', errors='replace') as lines:
        try:
            for line in lines:
                kind = line[0]
                if kind in '+-':
                    index = int(line[2:], 16)
                    sign = 1 if kind == '+' else -1
                    live[index] += sign
                    live_bytes += sign * table['allocs'][index][0]
                elif kind == 'c':
                    now = int(line[2:], 16) / 1000.0
                    while pending and now >= pending[0]:
                        snapshots[pending.pop(0)] = live.copy()
                    while every and now >= next_print:
                        print(f"{next_print:.0f} s {live_bytes} B")
                        next_print += every
                elif kind == 'a':
                    size, trace = line[2:].split()
                    table['allocs'].append((int(size, 16), int(trace, 16)))
                elif kind == 't':
                    ip, parent = line[2:].split()
                    table['traces'].append((int(ip, 16), int(parent, 16)))
                elif kind == 'i':
                    # ip, module, then function, file, line where known
                    parts = line[2:].split()
                    strings = table['strings']
                    if len(parts) > 2 and int(parts[2], 16) > 0:
                        name = strings[int(parts[2], 16) - 1]
                    else:
                        name = strings[int(parts[1], 16) - 1].rsplit('/', 1)[-1] + '@' + parts[0]
                    table['ips'].append(name)
                elif kind == 's':
                    table['strings'].append(line[2:].rstrip('\n').split(' ', 1)[-1])
        except EOFError:
            pass  # a recording still being written
    for moment in pending:
        snapshots[moment] = live.copy()
    return table, snapshots


def bytes_by_trace(table, snapshot):
    held = collections.Counter()
    for index, count in snapshot.items():
        if count:
            size, trace = table['allocs'][index]
            held[trace] += count * size
    return held


def stack(table, trace, depth):
    frames = []
    while trace and len(frames) < depth:
        ip, parent = table['traces'][trace]
        frames.append(table['ips'][ip])
        trace = parent
    return frames


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('recording')
    parser.add_argument('moments', nargs='*', type=float)
    parser.add_argument('--every', type=float)
    parser.add_argument('--depth', type=int, default=16)
    parser.add_argument('--top', type=int, default=25)
    args = parser.parse_args()
    if args.every:
        replay(args.recording, [], args.every)
        return
    if len(args.moments) != 2:
        parser.error('give two moments in seconds, or --every SECONDS')
    first, last = sorted(args.moments)
    table, snapshots = replay(args.recording, [first, last])
    before = bytes_by_trace(table, snapshots[first])
    after = bytes_by_trace(table, snapshots[last])
    print(f"live at {first:.0f} s: {sum(before.values())} B; at {last:.0f} s: {sum(after.values())} B")
    changed = {trace: after[trace] - before[trace] for trace in set(before) | set(after)}
    largest = sorted((t for t in changed if changed[t]), key=lambda t: -abs(changed[t]))[:args.top]
    for trace in largest:
        print(f"\n{changed[trace]:+d} B  (now {after[trace]} B)")
        for frame in stack(table, trace, args.depth):
            print('    ' + frame)


if __name__ == '__main__':
    main()
