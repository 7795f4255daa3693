#!/usr/bin/env python3
"""Writes a deterministic mixed payload: about half text-like files (they compress well) and half
random bytes (they do not), in nested folders.
    make_payload.py DEST TOTAL_MB FILE_COUNT"""
import random
import sys
from pathlib import Path

dest, total_mb, count = Path(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(7)
words = [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 9)))
         for _ in range(2000)]
average = (total_mb << 20) // count
for i in range(count):
    folder = dest / f'group{i % 7}' / f'sub{i % 13}'
    folder.mkdir(parents=True, exist_ok=True)
    size = max(1, int(rng.expovariate(1 / average)))
    if i % 2 == 0:
        out, length = [], 0
        while length < size:
            line = ' '.join(rng.choice(words) for _ in range(12)) + '\n'
            out.append(line)
            length += len(line)
        data = ''.join(out).encode()[:size]
        (folder / f'file{i:05}.txt').write_bytes(data)
    else:
        (folder / f'file{i:05}.bin').write_bytes(rng.randbytes(size))
