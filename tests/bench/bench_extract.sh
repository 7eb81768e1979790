#!/bin/bash
# Extraction speed and memory of the stub on a ~200 MB mixed payload, side by
# side with a minimal inflate-and-write loop (MinGW, same Wine), the same loop
# built natively, and an NSIS installer (zlib, CRC check off) of the same files.
# usage: bench_extract.sh BUILD_DIR (absolute). Runs inside tests/wine/session.sh.
set -eu
build=$1
win=$build/win$KAVRIX_WINE_BITS
native=$build/native
here=$(cd "$(dirname "$0")" && pwd)
work=$build/bench-extract
payload=$work/payload
mkdir -p "$work"
winpath() { echo "Z:$1" | tr / '\\'; }
now_ms() { date +%s%3N; }

if [ ! -f "$payload/.complete" ]; then
  rm -rf "$payload"
  python3 - "$payload" <<'PY'
import os, random, sys
root = sys.argv[1]
rnd = random.Random(20240611)
words = [bytes(rnd.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(rnd.randint(2, 9))) for _ in range(3000)]
def text(n):
    out = bytearray()
    while len(out) < n:
        out += b" ".join(rnd.choice(words) for _ in range(12)) + b"\r\n"
    return bytes(out[:n])
for i in range(2000):
    d = os.path.join(root, "small", "d%02d" % (i % 40))
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, "f%04d.txt" % i), "wb") as f:
        f.write(text(rnd.randint(1000, 40000)))
big = os.path.join(root, "big")
os.makedirs(big, exist_ok=True)
mb40 = 40 << 20
with open(os.path.join(big, "random.bin"), "wb") as f: f.write(rnd.randbytes(mb40))
with open(os.path.join(big, "text.log"), "wb") as f: f.write(text(mb40))
with open(os.path.join(big, "sixbit.dat"), "wb") as f: f.write(bytes(b & 63 for b in rnd.randbytes(mb40)))
with open(os.path.join(big, "sparse.img"), "wb") as f:
    f.write(b"".join((rnd.randbytes(4096) if rnd.random() < 0.2 else bytes(4096)) for _ in range(mb40 // 4096)))
PY
  touch "$payload/.complete"
fi
bytes=$(du -sb --exclude=.complete "$payload" | cut -f1)
files=$(find "$payload" -type f ! -name .complete | wc -l)
echo "payload: $files files, $((bytes / 1048576)) MiB"

# Setup file without an engine: the run ends after extraction.
"$native/kavrix-pack" build "Package.Stub=$win/kavrix-stub.exe" "Package.Files=$payload" \
  "Package.Output=$work/setup.exe" >/dev/null

# Peak resident memory (VmHWM, KiB) of a process while it runs.
peak_of() {
  local pid=$1 peak=0 v
  while kill -0 "$pid" 2>/dev/null; do
    v=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$v" ] && [ "$v" -gt "$peak" ] && peak=$v
    sleep 0.05
  done
  echo "$peak"
}

# --- the stub, its extraction phase from the debug channel
dbg=$work/debug.txt
rm -f "$dbg"
"$KAVRIX_WINE" "$win/kavrix-debugview.exe" "/out=$(winpath "$dbg")" &
viewer=$!
for _ in $(seq 1 200); do [ -f "$dbg" ] && break; sleep 0.05; done
"$KAVRIX_WINE" "$work/setup.exe" &
stub=$!
stub_peak=$(peak_of $stub)
wait $stub || true
for _ in $(seq 1 100); do grep -q "UnCompressTime:" "$dbg" 2>/dev/null && break; sleep 0.05; done
kill $viewer 2>/dev/null || true
wait $viewer 2>/dev/null || true
stub_ms=$(grep -ao "UnCompressTime: [0-9]*" "$dbg" | head -n 1 | awk '{print $2}')

# --- minimal MinGW loop under the same Wine, and natively
if [ "$KAVRIX_WINE_BITS" = 64 ]; then cxx=x86_64-w64-mingw32-g++; else cxx=i686-w64-mingw32-g++; fi
$cxx -O2 -std=c++17 -static "$here/inflate_loop.cpp" -lz -o "$work/inflate_loop.exe"
g++ -O2 -std=c++17 "$here/inflate_loop.cpp" -lz -o "$work/inflate_loop"
rm -rf "$work/loop-wine" "$work/loop-native"
mkdir -p "$work/loop-wine" "$work/loop-native"
loop_ms=$("$KAVRIX_WINE" "$work/inflate_loop.exe" "$(winpath "$work/setup.exe")" "$(winpath "$work/loop-wine")" |
  tr -d '\r' | sed -n 's/^ms=//p')
native_ms=$("$work/inflate_loop" "$work/setup.exe" "$work/loop-native" | sed -n 's/^ms=//p')

# --- NSIS, zlib, CRC check off, silent
cat >"$work/nsis.nsi" <<NSI
OutFile "$work/nsis-setup.exe"
SetCompressor zlib
CRCCheck off
SilentInstall silent
RequestExecutionLevel user
InstallDir "C:\\nsis-bench"
Section
  SetOutPath "\$INSTDIR"
  File /r "$payload/small"
  File /r "$payload/big"
SectionEnd
NSI
makensis -V1 "$work/nsis.nsi"
rm -rf "$WINEPREFIX/drive_c/nsis-bench"
t0=$(now_ms)
"$KAVRIX_WINE" "$work/nsis-setup.exe" /S &
nsis=$!
nsis_peak=$(peak_of $nsis)
wait $nsis || true
# The silent installer may hand over to a child: wait for its files to settle.
for _ in $(seq 1 600); do
  [ "$(find "$WINEPREFIX/drive_c/nsis-bench" -type f 2>/dev/null | wc -l)" -ge "$files" ] && break
  sleep 0.05
done
nsis_ms=$(($(now_ms) - t0))

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
echo "stub extraction (UnCompressTime): ${stub_ms:-?} ms, peak ${stub_peak} KiB"
echo "minimal MinGW loop under Wine:    ${loop_ms:-?} ms"
echo "native zlib loop:                 ${native_ms:-?} ms"
echo "NSIS zlib silent install (whole): ${nsis_ms} ms, peak ${nsis_peak} KiB"
echo "ratio stub / MinGW loop:  $(ratio "${stub_ms:-0}" "${loop_ms:-0}")   (target <= 1.2)"
echo "ratio stub / NSIS:        $(ratio "${stub_ms:-0}" "$nsis_ms")   (target < 1)"
echo "ratio stub / native loop: $(ratio "${stub_ms:-0}" "${native_ms:-0}")"
echo "ratio peak memory stub / NSIS: $(ratio "$stub_peak" "$nsis_peak")   (target <= 2)"
