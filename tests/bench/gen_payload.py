#!/usr/bin/env python3
"""Writes the benchmark payload: many small files in a folder tree plus a few
large files of different compressibility. The same arguments give the same bytes.

usage: gen_payload.py FOLDER [--small N] [--big N] [--big-mib N]
"""
import argparse
import os
import random

WORDS = (b"setup install file folder program data value window system version "
         b"update package drive space engine record block stream check error "
         b"the of and to in is for on with as by at from that this it be").split()


def text_bytes(rng, size):
    # Word salad with line breaks: compresses about 3:1, like source or logs.
    out = bytearray()
    while len(out) < size:
        line = b" ".join(rng.choices(WORDS, k=12)) + b" %d\r\n" % rng.randrange(100000)
        out += line
    return bytes(out[:size])


def sparse_bytes(rng, size):
    # Mostly zeros with small records scattered in: compresses well over 20:1.
    out = bytearray(size)
    for pos in range(0, size, 4096):
        rec = rng.randbytes(16)
        out[pos:pos + len(rec)] = rec[:size - pos]
    return bytes(out)


def mixed_bytes(rng, size):
    # Alternating runs of noise and text, as in a resource-laden executable.
    out = bytearray()
    chunk = 256 * 1024
    while len(out) < size:
        out += rng.randbytes(chunk) if rng.random() < 0.5 else text_bytes(rng, chunk)
    return bytes(out[:size])


KINDS = [text_bytes, lambda rng, n: rng.randbytes(n), sparse_bytes, mixed_bytes]


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("folder")
    ap.add_argument("--small", type=int, default=2000)
    ap.add_argument("--big", type=int, default=4)
    ap.add_argument("--big-mib", type=int, default=40)
    args = ap.parse_args()
    rng = random.Random(20261211)

    total = 0
    for i in range(args.small):
        # Sizes spread log-uniformly over 64 B .. 160 KiB: about 20 KiB on average.
        size = int(2 ** rng.uniform(6, 17.3))
        path = os.path.join(args.folder, "lib%02d" % (i % 25), "sub%d" % (i % 3), "f%04d.dat" % i)
        write(path, KINDS[i % len(KINDS)](rng, size))
        total += size
    for i in range(args.big):
        size = args.big_mib * 1024 * 1024
        path = os.path.join(args.folder, "big", "big%d.bin" % i)
        write(path, KINDS[i % len(KINDS)](rng, size))
        total += size
    print("payload: %d files, %d bytes" % (args.small + args.big, total))


if __name__ == "__main__":
    main()
