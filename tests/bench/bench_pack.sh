#!/bin/sh
# Pack throughput and compression ratio of kavrix-pack for a mixed payload
# (text, program code, incompressible data) at several zlib levels, and the
# time to read the result back (checksum and inflate of every record).
# usage: bench_pack.sh BUILD_DIR (absolute); uses BUILD_DIR/bench/kavrix-pack.
set -e
build=$1
pack=$build/bench/kavrix-pack
stub=$build/win32/kavrix-stub.exe
work=$build/bench/pack-bench
rm -rf "$work"
mkdir -p "$work/payload/text" "$work/payload/code" "$work/payload/media"

# A fixed payload: the same bytes on every machine, except the program code,
# which is the machine's own libraries (real instruction streams).
python3 - "$work/payload" <<'PY'
import os, random, sys
root = sys.argv[1]
rnd = random.Random(1)
words = [''.join(rnd.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rnd.randint(2, 10))) for _ in range(4000)]
for i in range(40):
    with open(os.path.join(root, 'text', 'doc%02d.txt' % i), 'w') as f:
        n = 0
        while n < 400_000:
            line = ' '.join(rnd.choice(words) for _ in range(rnd.randint(4, 14))) + '\n'
            f.write(line); n += len(line)
for i in range(4):
    with open(os.path.join(root, 'media', 'clip%d.bin' % i), 'wb') as f:
        f.write(rnd.randbytes(4_000_000))
PY
total=0
for lib in /usr/lib/x86_64-linux-gnu/*.so* /usr/bin/*; do
  [ -f "$lib" ] && [ ! -L "$lib" ] || continue
  size=$(stat -c %s "$lib")
  [ "$size" -le 4000000 ] || continue
  [ $((total + size)) -le 16000000 ] || break
  cp "$lib" "$work/payload/code/" 2>/dev/null || continue
  total=$((total + size))
done
cp "$stub" "$work/payload/Setup.exe"
input=$(du -sb "$work/payload" | cut -f1)
files=$(find "$work/payload" -type f | wc -l)
awk -v f="$files" -v i="$input" -v c="$total" 'BEGIN {
  printf "payload: %d files, %.1f MB (text 16 MB, program code %.1f MB, incompressible 16 MB)\n", f, i / 1048576, c / 1048576 }'

now() { date +%s%N; }
printf '%-6s %12s %10s %12s %14s\n' level "output MB" ratio "pack MB/s" "read MB/s"
for level in 0 1 3 6 9; do
  t0=$(now)
  "$pack" build Stub="$stub" Files="$work/payload" Engine='Setup.exe*' Output="$work/setup-$level.exe" \
    Level=$level FileDate=0 >/dev/null
  t1=$(now)
  "$pack" verify "$work/setup-$level.exe" >/dev/null
  t2=$(now)
  out=$(stat -c %s "$work/setup-$level.exe")
  awk -v l="$level" -v o="$out" -v i="$input" -v p=$((t1 - t0)) -v r=$((t2 - t1)) 'BEGIN {
    printf "%-6s %12.1f %10.3f %12.1f %14.1f\n", l, o / 1048576, o / i, i / 1048576 / (p / 1e9), i / 1048576 / (r / 1e9) }'
done
rm -rf "$work"
