#!/bin/bash
# Extraction benchmark: one ~200 MB payload (many small files, a few large ones
# of different compressibility) unpacked under the same Wine by
#   - the stub (its "UnCompressTime:" debug line: the extraction phase only),
#   - a minimal MinGW inflate-and-write loop over the same package's blocks,
#   - an NSIS installer of the same payload (zlib, no CRC check, silent),
# and natively by the same loop. Rounds are interleaved so that a busy machine
# disturbs every contender alike; medians are reported, every value is shown.
#
# usage: bench_extract.sh BUILD_DIR (absolute; inside tests/wine/session.sh)
# KAVRIX_BENCH_RUNS=n sets the rounds (default 3).
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
bin=$build/win$KAVRIX_WINE_BITS
pack=$build/bench/kavrix-pack
native_loop=$build/bench/kavrix-bench-inflate
runs=${KAVRIX_BENCH_RUNS:-3}
work=$build/bench-extract

viewer_pid=""
cleanup() {
  [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null && wait "$viewer_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for f in "$pack" "$native_loop" "$bin/kavrix-stub.exe" "$bin/kavrix-bench-inflate.exe" \
         "$bin/kavrix-debugview.exe" "$bin/kavrix-sample-engine.exe"; do
  [ -x "$f" ] || { echo "missing $f" >&2; exit 1; }
done
command -v makensis >/dev/null || { echo "missing makensis (Debian package nsis)" >&2; exit 1; }

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f", k/1024}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a/b}'; }
# Leaves the next run a quiet disk: earlier output is gone and written back.
fresh() { rm -rf "$@"; sync; }

rm -rf "$work"
mkdir -p "$work"

echo "-- payload"
python3 "$here/gen_payload.py" "$work/payload"
cp "$bin/kavrix-sample-engine.exe" "$work/payload/"
python3 "$here/gen_payload.py" "$work/small" --small 200 --big 0
cp "$bin/kavrix-sample-engine.exe" "$work/small/"

echo "-- packages"
build_package() {  # payload folder, output
  "$pack" build Stub="$bin/kavrix-stub.exe" Files="$1" Engine=kavrix-sample-engine.exe Output="$2" >/dev/null
}
build_package "$work/payload" "$work/setup.exe"
build_package "$work/small" "$work/small-setup.exe"

if [ "$KAVRIX_WINE_BITS" = 64 ]; then nsis_target=amd64-unicode; else nsis_target=x86-unicode; fi
# The section times itself, so that its extraction can be told from the process's start-up.
cat >"$work/nsis.nsi" <<EOF
Unicode true
Target $nsis_target
SetCompressor zlib
CRCCheck off
SilentInstall silent
RequestExecutionLevel user
OutFile "$work/nsis-setup.exe"
InstallDir "\$TEMP\\nsis-bench"
Section
  System::Call 'kernel32::GetTickCount() i .r0'
  SetOutPath \$INSTDIR
  File /r "$work/payload/*"
  System::Call 'kernel32::GetTickCount() i .r1'
  IntOp \$2 \$1 - \$0
  FileOpen \$3 "$(winpath "$work/nsis-ms.txt")" w
  FileWrite \$3 "\$2"
  FileClose \$3
SectionEnd
EOF
makensis -V1 "$work/nsis.nsi"
files=$(find "$work/payload" -type f | wc -l)
bytes=$(du -sb "$work/payload" | cut -f1)
pkg_bytes=$(stat -c %s "$work/setup.exe")
nsis_bytes=$(stat -c %s "$work/nsis-setup.exe")

# Runs the stub on a package with the debug viewer capturing; sets stub_ms
# (the extraction phase) and stub_kib (the stub's peak resident memory).
run_stub() {  # package, engine target
  local log=$work/debug.txt
  rm -f "$log"
  "$KAVRIX_WINE" "$bin/kavrix-debugview.exe" "/out=$(winpath "$log")" &
  viewer_pid=$!
  for _ in $(seq 1 600); do [ -e "$log" ] && break; sleep 0.05; done
  local t
  t=$(timeout 300 python3 "$here/timed.py" "$KAVRIX_WINE" "$1" "/target=$(winpath "$2")")
  stub_kib=${t#* }
  for _ in $(seq 1 100); do grep -q "UnCompressTime:" "$log" && break; sleep 0.1; done
  kill "$viewer_pid" 2>/dev/null || true; wait "$viewer_pid" 2>/dev/null || true
  viewer_pid=""
  stub_ms=$(sed -n 's/.*UnCompressTime: *\([0-9]*\) MS.*/\1/p' "$log" | tail -1)
  [ -n "$stub_ms" ] || { echo "no UnCompressTime line from the stub" >&2; exit 1; }
}

# The same bytes arrived, apart from what the engine adds about its own run.
check_same() {  # what, folder
  diff -rq -x _engine_run.txt -x kavrix-sample-engine.exe "$work/payload" "$2" >/dev/null || { echo "$1: output differs from the payload" >&2; exit 1; }
}

declare -a stub loop native nsis nsis_sect stub_mem nsis_mem loop_mem
for round in $(seq 1 "$runs"); do
  echo "-- round $round of $runs"
  fresh "$work/out"
  t=$(python3 "$here/timed.py" "$KAVRIX_WINE" "$bin/kavrix-bench-inflate.exe" \
         "$(winpath "$work/setup.exe")" "$(winpath "$work/out")")
  loop+=("$(head -1 <<<"$t" | cut -d' ' -f1)"); loop_mem+=("$(tail -1 <<<"$t" | cut -d' ' -f2)")
  [ "$round" = 1 ] && check_same "MinGW loop" "$work/out"

  fresh "$work/out"
  t=$("$native_loop" "$work/setup.exe" "$work/out")
  native+=("${t%% *}")
  [ "$round" = 1 ] && check_same "native loop" "$work/out"

  fresh "$work/out" "$work/nsis-ms.txt"
  t=$(python3 "$here/timed.py" "$KAVRIX_WINE" "$work/nsis-setup.exe" /S "/D=$(winpath "$work/out")")
  nsis+=("${t% *}"); nsis_mem+=("${t#* }"); nsis_sect+=("$(cat "$work/nsis-ms.txt")")
  [ "$round" = 1 ] && check_same "NSIS" "$work/out"

  fresh "$work/out"
  run_stub "$work/setup.exe" "$work/out"
  stub+=("$stub_ms"); stub_mem+=("$stub_kib")
  [ "$round" = 1 ] && check_same "stub" "$work/out"
done
fresh "$work/out"
run_stub "$work/small-setup.exe" "$work/out"
small_kib=$stub_kib
small_pkg=$(stat -c %s "$work/small-setup.exe")

s=$(median "${stub[@]}"); l=$(median "${loop[@]}"); n=$(median "${native[@]}")
w=$(median "${nsis[@]}"); c=$(median "${nsis_sect[@]}")
sm=$(median "${stub_mem[@]}"); nm=$(median "${nsis_mem[@]}"); lm=$(median "${loop_mem[@]}")
echo
echo "Extraction of $files files, $bytes bytes; package $pkg_bytes bytes, NSIS installer $nsis_bytes bytes"
echo "Wine $("$KAVRIX_WINE" --version), ${KAVRIX_WINE_BITS}-bit programs; median of $runs rounds [each round]"
printf '  %-44s %7s ms  [%s]\n' "stub extraction phase (UnCompressTime)" "$s" "${stub[*]}"
printf '  %-44s %7s ms  [%s]\n' "MinGW inflate-and-write loop, Wine" "$l" "${loop[*]}"
printf '  %-44s %7s ms  [%s]\n' "native zlib inflate-and-write loop" "$n" "${native[*]}"
printf '  %-44s %7s ms  [%s]\n' "NSIS zlib, whole process (wall clock), Wine" "$w" "${nsis[*]}"
printf '  %-44s %7s ms  [%s]\n' "NSIS zlib, its install section, Wine" "$c" "${nsis_sect[*]}"
printf '  %-44s %7s     target <= 1.20\n' "stub / MinGW loop" "$(ratio "$s" "$l")"
printf '  %-44s %7s     target < 1.00\n' "stub / NSIS install section" "$(ratio "$s" "$c")"
printf '  %-44s %7s\n' "stub / NSIS whole process" "$(ratio "$s" "$w")"
printf '  %-44s %7s MiB [%s KiB]\n' "peak memory, stub" "$(mib "$sm")" "${stub_mem[*]}"
printf '  %-44s %7s MiB [%s KiB]\n' "peak memory, MinGW loop" "$(mib "$lm")" "${loop_mem[*]}"
printf '  %-44s %7s MiB [%s KiB]\n' "peak memory, NSIS" "$(mib "$nm")" "${nsis_mem[*]}"
printf '  %-44s %7s     target <= 2.00\n' "peak memory stub / NSIS" "$(ratio "$sm" "$nm")"
printf '  %-44s %7s MiB (package of %s bytes)\n' "peak memory, stub, small package" "$(mib "$small_kib")" "$small_pkg"
