#!/usr/bin/env python3
"""Runs a command and prints its wall time in ms and its peak resident memory
in KiB: "<ms> <kib>". Under Wine the started loader process becomes the Windows
program itself, and programs it starts are not its Unix children, so the peak
is that of the program alone.

usage: timed.py command [args...]
"""
import os
import sys
import time


def main():
    start = time.monotonic()
    pid = os.spawnvp(os.P_NOWAIT, sys.argv[1], sys.argv[1:])
    _, status, usage = os.wait4(pid, 0)
    ms = int((time.monotonic() - start) * 1000)
    print("%d %d" % (ms, usage.ru_maxrss))
    code = os.waitstatus_to_exitcode(status)
    sys.exit(code if 0 <= code < 256 else 1)


if __name__ == "__main__":
    main()
